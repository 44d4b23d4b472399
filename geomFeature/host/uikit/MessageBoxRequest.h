#pragma once

#include <string>

#include "geomFeature/host/appframe/WindowHandle.h"
#include "geomFeature/host/uikit/MsgBoxType.h"

namespace Norvane {

// One message box to show: its text and caption as string resource numbers, its buttons and icon, and the
// window that owns it (empty: the application's main window).
struct MessageBoxRequest {
    int textID = 0;
    int captionID = 0;
    tagMsgBoxButtons buttons = MSGBOX_OK;
    tagMsgBoxIcon icon = MSGBOX_ICON_NONE;
    WindowHandle owner = nullptr;

    // The texts behind the two numbers (ResourceString).
    std::wstring GetText() const;
    std::wstring GetCaption() const;
    // What an unattended box answers: OK for a box with OK alone; otherwise the answer that changes nothing
    // (Cancel, or No when there is no Cancel).
    tagMsgBoxResult GetDefaultAnswer() const;
};

}  // namespace Norvane
