#pragma once

#include <algorithm>

// Tolerances of the import of real drawings (ImportOptions::tolerant): the default closing tolerance and
// the limits of tolerant shape recognition (TolerantGrouper). The module's exact recognisers keep their
// own values (ProcessorTolerance.h).
namespace Norvane {

// --- The closing tolerance ---------------------------------------------------------------------------

// Exporting programs leave joint gaps of about 1e-7 to 5e-6 of their own drawing unit, so the default
// closing tolerance is this fraction of the drawing unit (1e-4 mm for a drawing in millimetres, 2.54e-3 mm
// for one in inches).
constexpr double kDefaultJoinTolPerUnit = 1e-4;
// ... and at least this fraction of the largest coordinate, since a file keeps a fixed number of digits:
// a part drawn far from the origin carries its rounding there.
constexpr double kDefaultJoinTolPerCoordinate = 1e-9;
// ... and never below this (millimetres): the closing tolerance the module itself uses.
constexpr double kDefaultJoinTolFloor = 1e-4;

// The default closing tolerance, in millimetres, for a drawing whose unit is unitToMm millimetres and whose
// largest absolute coordinate (in millimetres) is maxCoordinate.
inline double DefaultJoinTolerance(double unitToMm, double maxCoordinate) {
    return std::max({kDefaultJoinTolFloor, kDefaultJoinTolPerUnit * unitToMm,
                     kDefaultJoinTolPerCoordinate * maxCoordinate});
}

// --- Tolerant recognition (TolerantGrouper) ----------------------------------------------------------

// Every point of the drawn pieces lies within the closing tolerance of the fitted shape's outline and
// every point of that outline within it of the drawn pieces (inclusive). Points are compared at the ends
// and at these many evenly spaced inner places of every piece.
constexpr int kFitInnerSamples = 3;

// Chains of lines around an ellipse or circle: each step from one vertex to the next may advance the
// curve's parameter by at most this (radians, inclusive), always the same way round, one turn in all.
// A coarser chain is a polygon, not a curve.
constexpr double kFitMaxCurveStep = 0.6283185307179586;  // 2 pi / 10

// A rectangle or rounded rectangle counts as a square for the canonical rotation when its sides agree
// within this fraction of the longer (inclusive), or within the closing tolerance when it was fitted.
constexpr double kCanonicalEqualSideRel = 1e-7;

}  // namespace Norvane
