#pragma once

namespace Norvane {

// Tolerances of the geometry kernel. Callers pass their own tolerance where an operation takes one; these are
// the values the kernel applies when none is passed, and the guards it uses against degenerate input.

// Exact geometric equality of points and the default test of whether a point lies on an element.
constexpr double kGeomEqualTol = 1e-9;

// Default angular tolerance (radians) of angle normalisation and range tests.
constexpr double kGeomAngleTol = 1e-9;

// Default tolerance of Point2DList::GetPtIndex: a corner given with a small numerical error is still found.
constexpr double kPtIndexTol = 1e-6;

// Lengths and radii at or below this are treated as degenerate (a point); guards every division by a length.
constexpr double kGeomZeroLength = 1e-12;

// Sine of the angle between two directions below which they are treated as parallel.
constexpr double kGeomParallelSin = 1e-12;

// The kernel's range: the largest coordinate, length or radius magnitude it is meant for. No flat part is
// a hundred kilometres wide, and beyond this squared lengths and the 1e-9 equality tests lose all
// meaning. Readers of files (DXF, the part database) refuse geometry outside it.
constexpr double kGeomMaxCoordinate = 1e8;

}  // namespace Norvane
