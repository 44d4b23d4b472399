#include "geomFeature/editor/GeomOptDlg.h"

#include "geomFeature/editor/EditorResource.h"

namespace Norvane {

namespace {

// The dialog background, 0x00BBGGRR: red 239, green 247, blue 253.
constexpr unsigned long kGeomOptDlgBackground = 16644079ul;
constexpr int kAllowOffsetDigits = 4;

}  // namespace

GeomOptDlg::GeomOptDlg() : XDialogBase(kGeomOptDlgTemplate) {
    SetTitleID(kResGeomOptDlgTitle);
}

void GeomOptDlg::OnInitDialog() {
    SetBackgroundColor(kGeomOptDlgBackground);
    AddNumberEdit(kGeomOptAllowOffsetControl, kResGeomOptAllowOffset)
        .Init(m_dAllowOffset, kAllowOffsetDigits, 0);
}

void GeomOptDlg::OnKillAllowOffset() {
    if (const DialogControl* edit = FindControl(kGeomOptAllowOffsetControl)) {
        m_dAllowOffset = edit->edit.Get_Number();
    }
}

void GeomOptDlg::OnBnClickedOk() {
    OnKillAllowOffset();
}

}  // namespace Norvane
