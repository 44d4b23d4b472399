#include "geomFeature/editor/LoopOffsetDlg.h"

#include "geomFeature/editor/EditorResource.h"

namespace Norvane {

LoopOffsetDlg::LoopOffsetDlg() : XDialogBase(kTemplateID) {
    SetTitleID(kResLoopOffsetDlgTitle);
    SetBackgroundColor(kBackgroundColor);
}

void LoopOffsetDlg::OnInitDialog() {
    AddNumberEdit(kDistanceEditID, kResLoopOffsetDistance).Init(m_distance, kDistanceDigits, 0);
    AddChoice(kSideGroupID, kResLoopOffsetSide, {kResLoopOffsetInside, kResLoopOffsetOutside}, m_sideChoice);
}

// The edit holds the last number typed that it accepted, so a confirmed dialog always has a number.
void LoopOffsetDlg::OnOK() {
    if (const DialogControl* edit = FindControl(kDistanceEditID)) {
        m_distance = edit->edit.Get_Number();
    }
    if (const DialogControl* side = FindControl(kSideGroupID)) {
        m_sideChoice = side->selected;
    }
}

}  // namespace Norvane
