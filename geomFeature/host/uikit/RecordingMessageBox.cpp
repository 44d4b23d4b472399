#include "geomFeature/host/uikit/RecordingMessageBox.h"

namespace Norvane {

int RecordingMessageBox::ShowMessageBox(const MessageBoxRequest& request) {
    m_shown.push_back(request);
    if (m_answers.empty()) {
        return request.GetDefaultAnswer();
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

}  // namespace Norvane
