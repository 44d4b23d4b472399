#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/uikit/XDialogBase.h"

namespace Norvane {

// The options dialog of the geometry module (template 30145): one distance, the allowed offset, in a
// numeric edit (control 10901) with 4 decimals. Set the value before DoModal and read it after a confirmed
// one; a cancelled dialog leaves it as it was. Negative distances are not accepted by the edit.
class GF_API GeomOptDlg : public XDialogBase {
public:
    GeomOptDlg();

    void SetdAllowOffset(double value) { m_dAllowOffset = value; }
    double GetdAllowOffset() const { return m_dAllowOffset; }

    // The edit lost the focus: its number becomes the value (a text that is no number leaves the last one).
    void OnKillAllowOffset();
    // The OK button: the edit's number is kept, and the dialog is closed as confirmed.
    void OnBnClickedOk();

protected:
    // The edit, filled with the value and 4 decimals; the background colour 16644079 (red 239, green 247,
    // blue 253).
    void OnInitDialog() override;
    void OnOK() override { OnBnClickedOk(); }

private:
    double m_dAllowOffset = 0.0;
};

}  // namespace Norvane
