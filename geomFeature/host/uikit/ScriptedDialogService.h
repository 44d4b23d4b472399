#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/uikit/DialogControl.h"
#include "geomFeature/host/uikit/IDialogService.h"
#include "geomFeature/host/uikit/MsgBoxType.h"

namespace Norvane {

// A dialog service that answers from a script, for tests and for scripted editing: each dialog takes the
// next queued answer, which types texts into numeric edits, selects radio buttons and confirms or cancels.
// Every dialog shown is remembered with its controls as they were offered. A dialog with no answer left,
// or whose template differs from the one the answer expects, is cancelled and counted as unanswered.
class ScriptedDialogService : public IDialogService {
public:
    struct Answer {
        int templateID = 0;  // the dialog this answer is meant for; 0 for any
        int result = MSGBOX_RESULT_OK;
        std::vector<std::pair<int, std::wstring>> texts;  // control id, text typed into that edit
        std::vector<std::pair<int, int>> choices;         // control id, index of the button selected
    };
    struct Shown {
        int templateID = 0;
        std::vector<DialogControl> controls;  // as offered, before the answer was applied
    };

    int RunModal(XDialogBase& dialog) override;

    void QueueAnswer(const Answer& answer) { m_answers.push_back(answer); }
    const std::vector<Shown>& GetShown() const { return m_shown; }
    // Dialogs cancelled because no fitting answer was queued.
    int GetUnansweredCount() const { return m_unanswered; }
    std::size_t GetPendingCount() const { return m_answers.size(); }

private:
    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
    int m_unanswered = 0;
};

using ScriptedDialogServicePtr = boost::shared_ptr<ScriptedDialogService>;

}  // namespace Norvane
