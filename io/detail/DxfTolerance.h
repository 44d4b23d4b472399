#pragma once

#include <cstddef>

#include "geomFeature/host/geomkit/GeomTolerance.h"

// Tolerances and guards of the DXF adapter. Lengths are millimetres unless a comment says otherwise.
namespace Norvane::dxf_detail {

// A coordinate, radius, scale or knot whose magnitude exceeds this (drawing units) is treated as corrupt:
// the kernel's range. Placed geometry (after block transforms and the unit) must lie within it too.
constexpr double kMaxAbsValue = kGeomMaxCoordinate;

// Segments (lines, polyline edges, spline pieces) whose length is at or below this are dropped.
constexpr double kMinSegmentLength = 1e-9;

// Radii (and ellipse semi-axes) at or below this are degenerate.
constexpr double kMinRadius = 1e-9;

// A bulge whose magnitude is at or below this is a straight segment: the arc's sagitta would be at most
// half of this times the chord.
constexpr double kBulgeStraightTol = 1e-9;

// Relative tolerance under which two conjugate semi-diameters count as perpendicular and of equal length,
// i.e. the conic is a circle (transforms that are similarities keep circles exactly circular up to
// rounding).
constexpr double kCircularRelTol = 1e-9;

// A parameter sweep within this (radians) of a full turn is a full turn.
constexpr double kFullTurnTol = 1e-9;

// The smallest chord tolerance honoured, so that a zero or negative option cannot make curve
// approximation run away.
constexpr double kMinChordTol = 1e-6;

// The smallest chord tolerance honoured for a curve, relative to its size: a curve never gets more than
// about ten thousand chords per full turn, however small the tolerance asked for and however large the
// curve.
constexpr double kMinRelChordTol = 1e-7;

// An extrusion whose x and y parts are both at most this (relative to its length) is along +Z or -Z.
constexpr double kExtrusionAxisTol = 1e-9;

// Limits that keep hostile input from hanging the reader or exhausting memory.
constexpr int kMaxSplineDegree = 25;
constexpr std::size_t kMaxCurvePoints = 200000;  // points of one tessellated curve
constexpr int kMaxEllipseArcPieces = 4096;       // circular arcs for one elliptical arc
constexpr int kMaxSubdivisionDepth = 24;         // bisection depth of one curve piece

}  // namespace Norvane::dxf_detail
