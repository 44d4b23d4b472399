#pragma once

#include <boost/shared_ptr.hpp>

namespace Norvane {

class XDialogBase;

// Runs modal dialogs: a window system's dialogs in a desktop host, scripted answers in tests. The service
// shows the dialog's controls (XDialogBase::GetControls), lets the user change them and answers
// MSGBOX_RESULT_OK when the user confirmed, MSGBOX_RESULT_CANCEL otherwise.
class IDialogService {
public:
    virtual ~IDialogService() = default;
    virtual int RunModal(XDialogBase& dialog) = 0;
};

using IDialogServicePtr = boost::shared_ptr<IDialogService>;

}  // namespace Norvane
