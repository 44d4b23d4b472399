#pragma once

namespace Norvane {

// The buttons a message box offers.
enum tagMsgBoxButtons : int {
    MSGBOX_OK = 0,
    MSGBOX_OKCANCEL = 1,
    MSGBOX_YESNOCANCEL = 3,
    MSGBOX_YESNO = 4,
};

// The icon that says what kind of message it is.
enum tagMsgBoxIcon : int {
    MSGBOX_ICON_NONE = 0,
    MSGBOX_ICON_ERROR = 0x10,
    MSGBOX_ICON_QUESTION = 0x20,
    MSGBOX_ICON_WARNING = 0x30,
    MSGBOX_ICON_INFORMATION = 0x40,
};

// The button the user pressed, also the result of a modal dialog (OK: confirmed, CANCEL: cancelled).
enum tagMsgBoxResult : int {
    MSGBOX_RESULT_OK = 1,
    MSGBOX_RESULT_CANCEL = 2,
    MSGBOX_RESULT_YES = 6,
    MSGBOX_RESULT_NO = 7,
};

}  // namespace Norvane
