#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

class Matrix2D;

// An axis-aligned box. The default box is (0, 0, 0, 0): a point at the origin, not an "empty" box, so a
// running union over elements must start from the first element's box (see Geom2DList::GetRect).
class Rect2D {
public:
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;

    Rect2D() = default;
    Rect2D(double left, double right, double bottom, double top)
        : left(left), right(right), bottom(bottom), top(top) {}
    // The box spanned by two corner points (in any order).
    static Rect2D FromPoints(const Point2D& p1, const Point2D& p2);

    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
    // Closed box: points on the boundary are inside.
    int ContainPt(const Point2D& p) const;
    // Width <= w && height <= h (non-strict: a box exactly w wide fits).
    int InRange(double w, double h) const;
    // This box encloses the other; closed, so a shared boundary (and an equal box) counts as enclosed.
    int IncludeRect(const Rect2D& other) const;
    // The boxes overlap or touch (closed boxes share at least one point).
    int operator&(const Rect2D& other) const;
    // Euclidean distance from the point to the box; 0 inside and on the boundary.
    double DistanceTo(const Point2D& p) const;
    Point2D GetCenterPt() const;
    // Becomes the box of the four transformed corners.
    void Transform(const Matrix2D& m);
    // Widens to enclose the other box / the point.
    void Union(const Rect2D& other);
    void Union(const Point2D& p);
    // Grows by d on every side (a negative d shrinks; the box is not allowed to turn inside out: it collapses
    // to its centre line instead).
    void Inflate(double d);
    // Exact comparison.
    bool operator==(const Rect2D& r) const;
    bool operator!=(const Rect2D& r) const { return !(*this == r); }
};

using Rect2DPtr = boost::shared_ptr<Rect2D>;

}  // namespace Norvane
