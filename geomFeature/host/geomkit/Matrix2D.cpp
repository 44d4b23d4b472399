#include "geomFeature/host/geomkit/Matrix2D.h"

#include <cmath>

namespace Norvane {

void Matrix2D::Reset() {
    *this = Matrix2D();
}

void Matrix2D::Rotate(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    *this = Matrix2D(c, -s, s, c, 0.0, 0.0) * *this;
}

void Matrix2D::RotateBy(const Point2D& centre, double angle) {
    Transfer(Vector2D(-centre.x, -centre.y));
    Rotate(angle);
    Transfer(Vector2D(centre.x, centre.y));
}

void Matrix2D::SetTransfer(const Vector2D& v) {
    *this = Matrix2D(1.0, 0.0, 0.0, 1.0, v.x, v.y);
}

void Matrix2D::Transfer(const Vector2D& v) {
    tx += v.x;
    ty += v.y;
}

void Matrix2D::SetScale(double s) {
    *this = Matrix2D(s, 0.0, 0.0, s, 0.0, 0.0);
}

void Matrix2D::Scale(double s) {
    *this = Matrix2D(s, 0.0, 0.0, s, 0.0, 0.0) * *this;
}

void Matrix2D::ScaleBy(const Point2D& centre, double s) {
    Transfer(Vector2D(-centre.x, -centre.y));
    Scale(s);
    Transfer(Vector2D(centre.x, centre.y));
}

void Matrix2D::Mirror(const Point2D& p, const Vector2D& axisDir) {
    const double len2 = axisDir.DotProduct(axisDir);
    if (len2 == 0.0) {  // deliberate exact test: no axis, nothing to reflect about
        return;
    }
    // Reflection about a line through the origin with unit direction u: [[ux²−uy², 2uxuy], [2uxuy, uy²−ux²]].
    const double ux2 = axisDir.x * axisDir.x / len2;
    const double uy2 = axisDir.y * axisDir.y / len2;
    const double uxy = axisDir.x * axisDir.y / len2;
    Transfer(Vector2D(-p.x, -p.y));
    *this = Matrix2D(ux2 - uy2, 2.0 * uxy, 2.0 * uxy, uy2 - ux2, 0.0, 0.0) * *this;
    Transfer(Vector2D(p.x, p.y));
}

Matrix2D Matrix2D::operator*(const Matrix2D& r) const {
    return Matrix2D(a * r.a + b * r.c, a * r.b + b * r.d, c * r.a + d * r.c, c * r.b + d * r.d,
                    a * r.tx + b * r.ty + tx, c * r.tx + d * r.ty + ty);
}

Point2D Matrix2D::TransformPoint(const Point2D& p) const {
    return Point2D(a * p.x + b * p.y + tx, c * p.x + d * p.y + ty);
}

Vector2D Matrix2D::TransformVector(const Vector2D& v) const {
    return Vector2D(a * v.x + b * v.y, c * v.x + d * v.y);
}

double Matrix2D::Determinant() const {
    return a * d - b * c;
}

int Matrix2D::IsMirror() const {
    return Determinant() < 0.0 ? 1 : 0;
}

double Matrix2D::GetScale() const {
    return std::sqrt(std::fabs(Determinant()));
}

Matrix2D Matrix2D::Inverse() const {
    const double det = Determinant();
    if (det == 0.0) {  // deliberate exact test: only an exactly singular matrix has no inverse
        return Matrix2D();
    }
    const double ia = d / det;
    const double ib = -b / det;
    const double ic = -c / det;
    const double id = a / det;
    return Matrix2D(ia, ib, ic, id, -(ia * tx + ib * ty), -(ic * tx + id * ty));
}

int Matrix2D::IsIdentity(double tol) const {
    return (std::fabs(a - 1.0) <= tol && std::fabs(b) <= tol && std::fabs(c) <= tol &&
            std::fabs(d - 1.0) <= tol && std::fabs(tx) <= tol && std::fabs(ty) <= tol)
               ? 1
               : 0;
}

bool Matrix2D::operator==(const Matrix2D& m) const {
    return a == m.a && b == m.b && c == m.c && d == m.d && tx == m.tx && ty == m.ty;
}

}  // namespace Norvane
