#include "geomFeature/host/optkit/DisplayParam.h"

namespace Norvane {

namespace {

// A background whose perceived brightness (0 to 255) reaches this counts as light.
constexpr unsigned int kLightBackgroundLuma = 128;

}  // namespace

bool DisplayParam::IsLight(unsigned long color) {
    // ITU-R BT.601 weights, in integers.
    const unsigned int luma = (299 * GetRed(color) + 587 * GetGreen(color) + 114 * GetBlue(color)) / 1000;
    return luma >= kLightBackgroundLuma;
}

DisplayParam DisplayParam::ForBackground(unsigned long background) {
    DisplayParam p;  // the light-background set
    p.BackgroundColor = background & 0xFFFFFFul;
    if (!IsLight(background)) {
        p.PatColor = MakeColor(255, 255, 255);
        p.ActivePatColor = MakeColor(255, 220, 0);  // yellow
        p.SelPatColor = MakeColor(0, 200, 255);     // cyan
        p.CtrlPtColor = MakeColor(0, 255, 0);       // green
    }
    return p;
}

}  // namespace Norvane
