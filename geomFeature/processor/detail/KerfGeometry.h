#pragma once

#include <vector>

#include "geomFeature/host/geomkit/IGeom2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {
namespace detail {

// Geometry questions the kerf compensation asks of outlines (lists of lines and arcs, closed or not).

using Outline = std::vector<IGeom2DPtr>;

struct FarPoint {
    double distance = 0.0;  // 0 when no sampled point lies beyond the limit
    Point2D at;
};

// The sampled point of `drawn` (every element at the fractions 0, 1/8, ..., 1) that lies farthest from
// `cut`, when it lies farther than `limit` (strictly); otherwise distance 0. Distances within the limit are
// settled by a box search around the point, so the cost grows with the number of elements, not with their
// product.
FarPoint FarthestBeyond(const Outline& drawn, const Outline& cut, double limit);

// Whether two outlines cross or touch (within tol); `at` is then one such point.
bool FindCrossing(const Outline& a, const Outline& b, double tol, Point2D& at);

// The box of an outline; the default box for an empty one.
Rect2D OutlineBox(const Outline& outline);

}  // namespace detail
}  // namespace Norvane
