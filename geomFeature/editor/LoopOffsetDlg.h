#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/uikit/XDialogBase.h"

namespace Norvane {

// The small modal dialog of the loop offset action: the distance to offset by and the side, as two
// inside/outside radio buttons. Each dialog starts at a distance of 0.1 on the first side (inside); the
// distance edit shows four decimals and takes no negative numbers (a minus sign leaves the last number
// it held). After DoModal answered MSGBOX_RESULT_OK the confirmed values are in GetDistance and
// GetSideChoice; after a cancel they are the ones it was shown with.
class GF_API LoopOffsetDlg : public XDialogBase {
public:
    static constexpr int kTemplateID = 30151;
    static constexpr int kDistanceEditID = 1313;
    static constexpr int kSideGroupID = 1315;
    static constexpr double kDefaultDistance = 0.1;
    static constexpr int kDistanceDigits = 4;
    // Everything but the edit boxes is painted on this light blue (0x00BBGGRR: red 239, green 247, blue 253).
    static constexpr unsigned long kBackgroundColor = 16644079ul;
    // Side choices, as the radio buttons are ordered.
    static constexpr int kSideInside = 0;
    static constexpr int kSideOutside = 1;

    LoopOffsetDlg();

    double GetDistance() const { return m_distance; }
    void SetDistance(double distance) { m_distance = distance; }
    int GetSideChoice() const { return m_sideChoice; }
    void SetSideChoice(int choice) { m_sideChoice = choice; }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    double m_distance = kDefaultDistance;
    int m_sideChoice = kSideInside;
};

}  // namespace Norvane
