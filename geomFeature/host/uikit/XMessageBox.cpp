#include "geomFeature/host/uikit/XMessageBox.h"

#include <utility>

#include "geomFeature/host/logkit/LogMgr.h"

namespace Norvane {

namespace {

IMessageBoxServicePtr& Installed() {
    static IMessageBoxServicePtr service;
    return service;
}

}  // namespace

int XMessageBox::Show(int textID, int captionID, tagMsgBoxButtons buttons, tagMsgBoxIcon icon,
                      WindowHandle owner) {
    MessageBoxRequest request;
    request.textID = textID;
    request.captionID = captionID;
    request.buttons = buttons;
    request.icon = icon;
    request.owner = owner;
    return Show(request);
}

int XMessageBox::Show(const MessageBoxRequest& request) {
    // Hold the service for the call: a box may install another one while it is open.
    const IMessageBoxServicePtr service = Installed();
    if (service) {
        return service->ShowMessageBox(request);
    }
    LogMgr::DebugWarn(L"message box (no service): " + request.GetCaption() + L": " + request.GetText(),
                      request.owner);
    return request.GetDefaultAnswer();
}

IMessageBoxServicePtr XMessageBox::SetService(const IMessageBoxServicePtr& service) {
    return std::exchange(Installed(), service);
}

IMessageBoxServicePtr XMessageBox::GetService() {
    return Installed();
}

}  // namespace Norvane
