#include "geomFeature/host/geomkit/Vector2D.h"

#include <cmath>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {

namespace {

// atan2 answers −π for a negative x with y = −0.0; the half turn is named +π here.
double HalfOpenAtan2(double y, double x) {
    const double a = std::atan2(y, x);
    return a <= -MathEx::PI ? MathEx::PI : a;
}

}  // namespace

Vector2D::Vector2D(const Point2D& from, const Point2D& to) : x(to.x - from.x), y(to.y - from.y) {}

double Vector2D::Length() const {
    return std::hypot(x, y);
}

double Vector2D::Angle() const {
    if (x == 0.0 && y == 0.0) {  // deliberate exact test: the zero vector has no direction
        return 0.0;
    }
    return HalfOpenAtan2(y, x);
}

double Vector2D::AngleTo(const Vector2D& other) const {
    if ((x == 0.0 && y == 0.0) || (other.x == 0.0 && other.y == 0.0)) {
        return 0.0;
    }
    return HalfOpenAtan2(CrossProduct(other), DotProduct(other));
}

void Vector2D::SetAngle(double a) {
    const double len = Length();
    x = len * std::cos(a);
    y = len * std::sin(a);
}

void Vector2D::Rotate(double a) {
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double nx = x * c - y * s;
    const double ny = x * s + y * c;
    x = nx;
    y = ny;
}

void Vector2D::Magnitude(double length) {
    const double len = Length();
    if (len == 0.0) {  // deliberate exact test: only a truly zero vector cannot be rescaled
        return;
    }
    const double k = length / len;
    x *= k;
    y *= k;
}

Vector2D Vector2D::Orthogonal() const {
    return Vector2D(-y, x);
}

double Vector2D::DotProduct(const Vector2D& other) const {
    return x * other.x + y * other.y;
}

double Vector2D::CrossProduct(const Vector2D& other) const {
    return x * other.y - y * other.x;
}

void Vector2D::Mirror(const Vector2D& axis) {
    const double len2 = axis.DotProduct(axis);
    if (len2 == 0.0) {  // deliberate exact test: a zero axis has no line to reflect about
        return;
    }
    // v' = 2 (v·a / a·a) a − v
    const double k = 2.0 * DotProduct(axis) / len2;
    x = k * axis.x - x;
    y = k * axis.y - y;
}

void Vector2D::SetVector(const Point2D& from, const Point2D& to) {
    x = to.x - from.x;
    y = to.y - from.y;
}

Vector2D Vector2D::GetUnit() const {
    Vector2D u(*this);
    u.Magnitude(1.0);
    return u;
}

int Vector2D::IsZero(double tol) const {
    return (std::fabs(x) <= tol && std::fabs(y) <= tol) ? 1 : 0;
}

Vector2D& Vector2D::operator+=(const Vector2D& v) {
    x += v.x;
    y += v.y;
    return *this;
}

Vector2D& Vector2D::operator-=(const Vector2D& v) {
    x -= v.x;
    y -= v.y;
    return *this;
}

Vector2D& Vector2D::operator*=(const Matrix2D& m) {
    *this = m.TransformVector(*this);
    return *this;
}

}  // namespace Norvane
