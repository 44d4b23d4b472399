#pragma once

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/viewkit/RopMode.h"

// Sizes, thresholds and fixed pens of the drawers. Sizes are device pixels, so marks keep their size on
// screen at any zoom.
namespace Norvane {

// A loop whose device box is at most this wide AND at most this high (non-strict) is drawn as one point.
constexpr double kLoopPointMaxPixels = 3.0;

// Otherwise, a loop whose device box is at most this wide AND high (non-strict) is drawn as a circle
// spanning its box's width.
constexpr double kLoopCircleMaxPixels = 6.0;

// Cross marking a control point of a pattern, and square marking the current snap point.
constexpr double kCtrlPtMarkPixels = 10.0;
constexpr double kSnapPtMarkPixels = 10.0;

// Diagonal cross (turned by π/4) marking each end of an open loop, drawn in pure red (0x00BBGGRR).
constexpr double kOpenLoopMarkPixels = 13.0;
constexpr double kOpenLoopMarkAngle = MathEx::PI / 4.0;
constexpr unsigned long kOpenLoopMarkColor = 255;

// A loop whose ends lie farther apart than this is open and gets its ends marked.
constexpr double kOpenLoopMarkTol = 0.0001;

// Pen widths: ordinary and selected outlines, and the item under the cursor, drawn highlighted.
constexpr double kOutlineWidth = 1.0;
constexpr double kActiveOutlineWidth = 2.0;
constexpr tagRopMode kActiveRopMode = ROP_HIGHLIGHT;

}  // namespace Norvane
