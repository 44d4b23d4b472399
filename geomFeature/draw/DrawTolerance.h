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

// --- Drawing assistance (DrawAssistor) ---------------------------------------------------------------

// The snap distance: features within this many device pixels of the cursor attract it (converted to
// drawing units with the viewport's DToW afresh on every refresh, so snapping feels the same at any zoom).
constexpr double kSnapDistancePixels = 5.0;

// A feature point within this of one already listed, in x and in y (inclusive), is not listed again.
constexpr double kFeaturePtDuplicateTol = 0.0001;

// Tolerance of the crossings between an alignment line and the patterns near the cursor.
constexpr double kAssistLineCrossTol = 0.0001;

// How far an alignment line reaches beyond the cursor, in device pixels. At least the snap distance, so
// that a vertical and a horizontal line both within the snap distance always meet.
constexpr double kAssistLineOvershootPixels = 10.0;
static_assert(kAssistLineOvershootPixels >= kSnapDistancePixels, "alignment lines must reach their crossing");

// Relative slack of the box test that skips patterns far from the cursor before their elements are
// measured: a pattern is measured when its box lies within the snap distance plus this share of it, so
// that rounding in the box distance never hides an element exactly at the snap distance.
constexpr double kSnapBoxSlack = 1e-9;

// The hints: square on the snap point, crosses on the feature points, dashed alignment lines.
constexpr double kFeaturePtMarkPixels = 10.0;
constexpr int kAssistLineStippleFactor = 0;
constexpr unsigned short kAssistLineStipplePattern = 0xF0F0;

}  // namespace Norvane
