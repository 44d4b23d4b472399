#include "geomFeature/host/geomkit/Point2D.h"

#include <cmath>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {

double Point2D::DistanceTo(const Point2D& other) const {
    return std::hypot(x - other.x, y - other.y);
}

void Point2D::Transfer(const Vector2D& v) {
    x += v.x;
    y += v.y;
}

void Point2D::RotateBasedPt(const Point2D& centre, double angle) {
    MathEx::RotatePoint(x, y, centre.x, centre.y, angle, x, y);
}

Point2D& Point2D::operator*=(const Matrix2D& m) {
    *this = m.TransformPoint(*this);
    return *this;
}

Point2D& Point2D::operator+=(const Vector2D& v) {
    Transfer(v);
    return *this;
}

int Point2D::Higher(const Point2D& other) const {
    if (y != other.y) {  // deliberate exact comparison: a total order for sorting, no tolerance
        return y > other.y ? 1 : 0;
    }
    return x < other.x ? 1 : 0;
}

int Point2D::IsEqual(const Point2D& other, double tol) const {
    return (std::fabs(x - other.x) <= tol && std::fabs(y - other.y) <= tol) ? 1 : 0;
}

}  // namespace Norvane
