#pragma once

#include <deque>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/uikit/IMessageBoxService.h"

namespace Norvane {

// A message-box service for tests and scripts: it remembers every box, in order, and answers from a queue
// of scripted answers, or with the box's default answer once the queue is empty.
class RecordingMessageBox : public IMessageBoxService {
public:
    int ShowMessageBox(const MessageBoxRequest& request) override;

    // The answer for the next box (a tagMsgBoxResult).
    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<MessageBoxRequest>& GetShown() const { return m_shown; }
    void Clear() {
        m_shown.clear();
        m_answers.clear();
    }

private:
    std::vector<MessageBoxRequest> m_shown;
    std::deque<int> m_answers;
};

using RecordingMessageBoxPtr = boost::shared_ptr<RecordingMessageBox>;

}  // namespace Norvane
