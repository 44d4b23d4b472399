#include "geomFeature/host/uikit/ScriptedDialogService.h"

#include "geomFeature/host/uikit/XDialogBase.h"

namespace Norvane {

int ScriptedDialogService::RunModal(XDialogBase& dialog) {
    m_shown.push_back(Shown{dialog.GetTemplateID(), dialog.GetControls()});
    if (m_answers.empty() ||
        (m_answers.front().templateID != 0 && m_answers.front().templateID != dialog.GetTemplateID())) {
        ++m_unanswered;
        return MSGBOX_RESULT_CANCEL;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    for (const auto& [controlID, text] : answer.texts) {
        if (DialogControl* control = dialog.FindControl(controlID)) {
            control->edit.SetText(text);
        }
    }
    for (const auto& [controlID, index] : answer.choices) {
        DialogControl* control = dialog.FindControl(controlID);
        if (control != nullptr && index >= 0 && index < static_cast<int>(control->optionIDs.size())) {
            control->selected = index;
        }
    }
    return answer.result;
}

}  // namespace Norvane
