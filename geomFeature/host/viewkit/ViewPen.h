#pragma once

#include "geomFeature/host/viewkit/RopMode.h"

namespace Norvane {

// The pen of a viewport: everything that decides how the next line looks, apart from where it goes.
// Colours are 0x00BBGGRR (red in the low byte), widths in device pixels.
//
// The stipple follows the classic 16-bit line pattern: bit 0 first, each bit repeated `stippleFactor`
// pixels along the line; a set bit draws, a clear bit leaves a gap. It only applies while enabled.
struct ViewPen {
    unsigned long color = 0;  // black
    double lineWidth = 1.0;
    tagRopMode rop = ROP_NORMAL;
    int stippleEnabled = 0;
    int stippleFactor = 1;
    unsigned short stipplePattern = 0xFFFF;

    bool operator==(const ViewPen&) const = default;
};

}  // namespace Norvane
