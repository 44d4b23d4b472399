#pragma once

#include "geomFeature/host/appframe/WindowHandle.h"
#include "geomFeature/host/uikit/IMessageBoxService.h"
#include "geomFeature/host/uikit/MsgBoxType.h"

namespace Norvane {

// The message boxes of the application: every warning the module shows goes through Show, which hands it to
// the installed service. A desktop host installs one that shows real modal boxes; without one, the box's
// text goes to the debug log and the box answers its default (MessageBoxRequest::GetDefaultAnswer), so a
// headless host never blocks. Used on the user-interface thread.
class XMessageBox {
public:
    XMessageBox() = delete;

    static int Show(int textID, int captionID, tagMsgBoxButtons buttons, tagMsgBoxIcon icon,
                    WindowHandle owner);
    static int Show(const MessageBoxRequest& request);
    // Installs the service (empty: none) and answers the one installed before.
    static IMessageBoxServicePtr SetService(const IMessageBoxServicePtr& service);
    static IMessageBoxServicePtr GetService();
};

}  // namespace Norvane
