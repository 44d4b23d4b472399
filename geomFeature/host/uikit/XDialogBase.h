#pragma once

#include <vector>

#include "geomFeature/host/appframe/WindowHandle.h"
#include "geomFeature/host/uikit/DialogControl.h"
#include "geomFeature/host/uikit/IDialogService.h"

namespace Norvane {

// A modal dialog described by its controls, so that any window system (or a script) can show it.
//
// DoModal: the controls are rebuilt by OnInitDialog from the dialog's own values, the installed dialog
// service runs the dialog, and only when the user confirmed does OnOK read the controls back into the
// dialog's values. Without a service the dialog is cancelled at once (and a line goes to the debug log),
// so a headless host never blocks and never acts on values nobody entered. Used on the user-interface
// thread.
class XDialogBase {
public:
    explicit XDialogBase(int templateID);
    virtual ~XDialogBase() = default;

    // MSGBOX_RESULT_OK when confirmed, MSGBOX_RESULT_CANCEL otherwise.
    int DoModal();

    int GetTemplateID() const { return m_templateID; }
    // The caption (string resource; 0 for none).
    int GetTitleID() const { return m_titleID; }
    void SetTitleID(int titleID) { m_titleID = titleID; }
    // Background colour of the dialog (0x00BBGGRR).
    unsigned long GetBackgroundColor() const { return m_background; }
    void SetBackgroundColor(unsigned long color) { m_background = color; }
    WindowHandle GetOwner() const { return m_owner; }
    void SetOwner(WindowHandle owner) { m_owner = owner; }

    // The controls in display order; a service changes them in place.
    std::vector<DialogControl>& GetControls() { return m_controls; }
    const std::vector<DialogControl>& GetControls() const { return m_controls; }
    // The control with that id, or nullptr.
    DialogControl* FindControl(int controlID);

    static IDialogServicePtr SetService(const IDialogServicePtr& service);
    static IDialogServicePtr GetService();

protected:
    // Adds the controls, filled from the dialog's values.
    virtual void OnInitDialog() {}
    // Reads the confirmed controls back into the dialog's values.
    virtual void OnOK() {}

    // Both answer the new control, valid until the next control is added.
    CNumEdit& AddNumberEdit(int controlID, int labelID);
    // The choice's `selected` is an index into optionIDs.
    DialogControl& AddChoice(int controlID, int labelID, std::vector<int> optionIDs, int selected);

private:
    int m_templateID;
    int m_titleID = 0;
    unsigned long m_background = 0xFFFFFFul;
    WindowHandle m_owner = nullptr;
    std::vector<DialogControl> m_controls;
};

}  // namespace Norvane
