#include "geomFeature/host/uikit/MessageBoxRequest.h"

#include "geomFeature/host/appframe/ResourceString.h"

namespace Norvane {

std::wstring MessageBoxRequest::GetText() const {
    return ResourceString::Load(textID);
}

std::wstring MessageBoxRequest::GetCaption() const {
    return ResourceString::Load(captionID);
}

tagMsgBoxResult MessageBoxRequest::GetDefaultAnswer() const {
    switch (buttons) {
        case MSGBOX_OK:
            return MSGBOX_RESULT_OK;
        case MSGBOX_YESNO:
            return MSGBOX_RESULT_NO;
        case MSGBOX_OKCANCEL:
        case MSGBOX_YESNOCANCEL:
            return MSGBOX_RESULT_CANCEL;
    }
    return MSGBOX_RESULT_CANCEL;
}

}  // namespace Norvane
