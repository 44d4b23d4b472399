#include "geomFeature/host/geomkit/Rect2D.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/host/geomkit/Matrix2D.h"

namespace Norvane {

Rect2D Rect2D::FromPoints(const Point2D& p1, const Point2D& p2) {
    return Rect2D(std::min(p1.x, p2.x), std::max(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.y, p2.y));
}

int Rect2D::ContainPt(const Point2D& p) const {
    // Closed box: the boundary is inside.
    return (p.x >= left && p.x <= right && p.y >= bottom && p.y <= top) ? 1 : 0;
}

int Rect2D::InRange(double w, double h) const {
    return (Width() <= w && Height() <= h) ? 1 : 0;  // non-strict: a box exactly w by h fits
}

int Rect2D::IncludeRect(const Rect2D& o) const {
    // Closed: a shared edge, and an equal box, count as enclosed.
    return (o.left >= left && o.right <= right && o.bottom >= bottom && o.top <= top) ? 1 : 0;
}

int Rect2D::operator&(const Rect2D& o) const {
    // Touching boxes (a shared edge or corner) overlap.
    return (o.left <= right && o.right >= left && o.bottom <= top && o.top >= bottom) ? 1 : 0;
}

double Rect2D::DistanceTo(const Point2D& p) const {
    const double dx = std::max({left - p.x, 0.0, p.x - right});
    const double dy = std::max({bottom - p.y, 0.0, p.y - top});
    return std::hypot(dx, dy);
}

Point2D Rect2D::GetCenterPt() const {
    return Point2D((left + right) / 2.0, (bottom + top) / 2.0);
}

void Rect2D::Transform(const Matrix2D& m) {
    const Point2D corners[4] = {m.TransformPoint(Point2D(left, bottom)),
                                m.TransformPoint(Point2D(right, bottom)),
                                m.TransformPoint(Point2D(right, top)), m.TransformPoint(Point2D(left, top))};
    *this = FromPoints(corners[0], corners[1]);
    Union(corners[2]);
    Union(corners[3]);
}

void Rect2D::Union(const Rect2D& o) {
    left = std::min(left, o.left);
    right = std::max(right, o.right);
    bottom = std::min(bottom, o.bottom);
    top = std::max(top, o.top);
}

void Rect2D::Union(const Point2D& p) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
}

void Rect2D::Inflate(double d) {
    left -= d;
    right += d;
    bottom -= d;
    top += d;
    if (left > right) {
        left = right = (left + right) / 2.0;
    }
    if (bottom > top) {
        bottom = top = (bottom + top) / 2.0;
    }
}

bool Rect2D::operator==(const Rect2D& r) const {
    return left == r.left && right == r.right && bottom == r.bottom && top == r.top;
}

}  // namespace Norvane
