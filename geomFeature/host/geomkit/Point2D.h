#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Vector2D.h"

namespace Norvane {

class Matrix2D;

// A plane point (value type).
class Point2D {
public:
    double x = 0;
    double y = 0;

    Point2D() = default;
    Point2D(double x, double y) : x(x), y(y) {}

    double DistanceTo(const Point2D& other) const;
    // Moves the point by the vector.
    void Transfer(const Vector2D& v);
    // Rotates counter-clockwise by `angle` about `centre`.
    void RotateBasedPt(const Point2D& centre, double angle);

    // Applies the full affine transform.
    Point2D& operator*=(const Matrix2D& m);
    Point2D operator+(const Vector2D& v) const { return Point2D(x + v.x, y + v.y); }
    Point2D operator-(const Vector2D& v) const { return Point2D(x - v.x, y - v.y); }
    Point2D& operator+=(const Vector2D& v);
    // The vector from `other` to this point.
    Vector2D operator-(const Point2D& other) const { return Vector2D(x - other.x, y - other.y); }
    // Coordinate arithmetic, meant for midpoints: (a + b) / 2.
    Point2D operator/(double s) const { return Point2D(x / s, y / s); }
    Point2D operator*(double s) const { return Point2D(x * s, y * s); }
    Point2D operator+(const Point2D& p) const { return Point2D(x + p.x, y + p.y); }
    // Exact comparison (no tolerance).
    bool operator==(const Point2D& p) const { return x == p.x && y == p.y; }
    bool operator!=(const Point2D& p) const { return !(*this == p); }

    // 1 when this point is "higher": a greater y, or an exactly equal y and a smaller x (so among points of
    // one row the leftmost is the highest). Exact comparisons. 0 otherwise, also for equal points.
    int Higher(const Point2D& other) const;
    // |dx| <= tol && |dy| <= tol (non-strict).
    int IsEqual(const Point2D& other, double tol) const;
};

using Point2DPtr = boost::shared_ptr<Point2D>;

}  // namespace Norvane
