#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"

namespace Norvane {

// A plane affine transform:  x' = a*x + b*y + tx ;  y' = c*x + d*y + ty.
//
// Composition order: every mutating operation (Rotate, Transfer, Scale, Mirror, ...) appends a transform that
// is applied AFTER the current one, i.e. M := Op * M. So `m.Rotate(r); m.Transfer(v);` first rotates, then
// moves. The Set... operations replace the whole matrix.
class Matrix2D {
public:
    Matrix2D() = default;  // identity
    Matrix2D(double a, double b, double c, double d, double tx, double ty)
        : a(a), b(b), c(c), d(d), tx(tx), ty(ty) {}

    void Reset();  // identity
    // Appends a counter-clockwise rotation about the origin.
    void Rotate(double angle);
    // Appends a counter-clockwise rotation about `centre`.
    void RotateBy(const Point2D& centre, double angle);
    // Becomes a pure translation by v.
    void SetTransfer(const Vector2D& v);
    // Appends a translation by v.
    void Transfer(const Vector2D& v);
    // Becomes a pure uniform scale about the origin.
    void SetScale(double s);
    // Appends a uniform scale about the origin.
    void Scale(double s);
    // Appends a uniform scale about `centre`.
    void ScaleBy(const Point2D& centre, double s);
    // Appends a reflection about the line through p with direction axisDir (a zero direction appends
    // nothing).
    void Mirror(const Point2D& p, const Vector2D& axisDir);

    // (A*B)(p) = A(B(p)): B is applied first.
    Matrix2D operator*(const Matrix2D& rhs) const;
    Point2D TransformPoint(const Point2D& p) const;
    // Linear part only (vectors do not move).
    Vector2D TransformVector(const Vector2D& v) const;
    double Determinant() const;
    // 1 when the transform reverses orientation (determinant < 0).
    int IsMirror() const;
    // Uniform scale factor: sqrt(|det|).
    double GetScale() const;
    // The inverse transform; a singular matrix (determinant exactly 0) answers the identity.
    Matrix2D Inverse() const;
    // 1 when all six coefficients are within tol of the identity's.
    int IsIdentity(double tol) const;
    // Exact coefficient comparison.
    bool operator==(const Matrix2D& m) const;
    bool operator!=(const Matrix2D& m) const { return !(*this == m); }

    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

using Matrix2DPtr = boost::shared_ptr<Matrix2D>;

}  // namespace Norvane
