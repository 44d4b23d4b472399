#include "geomFeature/host/uikit/XDialogBase.h"

#include <string>
#include <utility>

#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/uikit/MsgBoxType.h"

namespace Norvane {

namespace {

IDialogServicePtr& Installed() {
    static IDialogServicePtr service;
    return service;
}

}  // namespace

XDialogBase::XDialogBase(int templateID) : m_templateID(templateID) {}

int XDialogBase::DoModal() {
    m_controls.clear();
    OnInitDialog();
    const IDialogServicePtr service = Installed();
    if (!service) {
        LogMgr::DebugWarn(L"dialog " + std::to_wstring(m_templateID) + L" cancelled: no dialog service",
                          m_owner);
        return MSGBOX_RESULT_CANCEL;
    }
    const int result = service->RunModal(*this) == MSGBOX_RESULT_OK ? MSGBOX_RESULT_OK : MSGBOX_RESULT_CANCEL;
    if (result == MSGBOX_RESULT_OK) {
        OnOK();
    }
    return result;
}

DialogControl* XDialogBase::FindControl(int controlID) {
    for (DialogControl& control : m_controls) {
        if (control.controlID == controlID) {
            return &control;
        }
    }
    return nullptr;
}

IDialogServicePtr XDialogBase::SetService(const IDialogServicePtr& service) {
    return std::exchange(Installed(), service);
}

IDialogServicePtr XDialogBase::GetService() {
    return Installed();
}

CNumEdit& XDialogBase::AddNumberEdit(int controlID, int labelID) {
    DialogControl control;
    control.kind = DialogControl::Kind::Number;
    control.controlID = controlID;
    control.labelID = labelID;
    m_controls.push_back(control);
    return m_controls.back().edit;
}

DialogControl& XDialogBase::AddChoice(int controlID, int labelID, std::vector<int> optionIDs, int selected) {
    DialogControl control;
    control.kind = DialogControl::Kind::Choice;
    control.controlID = controlID;
    control.labelID = labelID;
    control.optionIDs = std::move(optionIDs);
    control.selected = selected;
    m_controls.push_back(control);
    return m_controls.back();
}

}  // namespace Norvane
