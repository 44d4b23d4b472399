#pragma once

// Tolerances shared by the pattern model. Each applies exactly where its comment says; callers that need
// a different one pass it as an argument.
namespace Norvane {

// A kernel fraction greater than -kPatOnElementFractionTol means "the point lies on this element"
// (the kernel answers -1 for points off the element). Strict: a fraction of exactly -1e-9 is off.
constexpr double kPatOnElementFractionTol = 1e-9;

// An arc sweep within this of +/-2*pi (inclusive) makes the arc a full circle.
constexpr double kArcFullCircleTol = 1e-9;

// Angle tolerance handed to the kernel's angle normalisation and angle-range tests for arcs.
constexpr double kArcAngleTol = 1e-9;

// A point closer than this (strict) to an arc's centre is measured as lying at the centre.
constexpr double kArcCentreTol = 1e-9;

// Two line or arc patterns are duplicates when corresponding points differ by less than this (strict)
// in Manhattan distance |dx| + |dy|.
constexpr double kPatDuplicateTol = 0.0001;

// Start value of the running best distance in nearest-item searches; distances are never negative,
// so while the best still holds it the first candidate is taken outright.
constexpr double kNoDistanceYet = -1.0;

// Standard shapes: a size (radius, side length, width, angle) counts as equal when the two values differ by
// at most this (inclusive); used by the circle's duplicate/same-shape tests and the rectangle's same-shape test.
constexpr double kStdShapeSizeTol = 0.0001;

// Arrays: how far (inclusive) a pattern offered to a line or arc array may stand from the next copy's
// place (distance, radius, angle of the offset) and still be taken as that copy; also how far a column
// offered to a grid may stand from the next column's distance.
constexpr double kArrayCopyMatchTol = 0.0001;

// Grids: a column offered to a grid must point straight up: its step angle within this (inclusive) of pi/2.
constexpr double kGridColumnUpTol = 1e-9;

}  // namespace Norvane
