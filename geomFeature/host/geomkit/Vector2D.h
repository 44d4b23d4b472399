#pragma once

namespace Norvane {

class Point2D;
class Matrix2D;

// A plane vector (value type). Angles are radians, counter-clockwise from +x.
class Vector2D {
public:
    double x = 0;
    double y = 0;

    Vector2D() = default;
    Vector2D(double x, double y) : x(x), y(y) {}
    // The vector from `from` to `to`.
    Vector2D(const Point2D& from, const Point2D& to);

    double Length() const;
    // atan2(y, x) in (−π, π]; the zero vector answers 0.
    double Angle() const;
    // Signed angle turning this vector onto `other`, in (−π, π] (positive counter-clockwise). 0 when either
    // is zero.
    double AngleTo(const Vector2D& other) const;
    // Turns the vector to direction `a`, keeping its length.
    void SetAngle(double a);
    // Rotates counter-clockwise by `a`.
    void Rotate(double a);
    // Rescales to `length` (a negative length reverses the direction); a zero vector stays zero.
    void Magnitude(double length);
    // This vector turned a quarter turn counter-clockwise: (−y, x).
    Vector2D Orthogonal() const;
    double DotProduct(const Vector2D& other) const;
    // x1*y2 − y1*x2: positive when `other` lies counter-clockwise of this vector.
    double CrossProduct(const Vector2D& other) const;
    // Reflects about a line of direction `axis` (through the origin). A zero axis leaves the vector
    // unchanged.
    void Mirror(const Vector2D& axis);
    void SetVector(const Point2D& from, const Point2D& to);
    // The unit vector of the same direction; the zero vector stays zero.
    Vector2D GetUnit() const;
    // Both components within tol of zero.
    int IsZero(double tol) const;

    Vector2D operator-() const { return Vector2D(-x, -y); }
    Vector2D operator*(double s) const { return Vector2D(x * s, y * s); }
    Vector2D operator/(double s) const { return Vector2D(x / s, y / s); }
    Vector2D operator+(const Vector2D& v) const { return Vector2D(x + v.x, y + v.y); }
    Vector2D operator-(const Vector2D& v) const { return Vector2D(x - v.x, y - v.y); }
    Vector2D& operator+=(const Vector2D& v);
    Vector2D& operator-=(const Vector2D& v);
    // Applies the linear part of the matrix (no translation).
    Vector2D& operator*=(const Matrix2D& m);
    // Exact component comparison.
    bool operator==(const Vector2D& v) const { return x == v.x && y == v.y; }
    bool operator!=(const Vector2D& v) const { return !(*this == v); }
};

}  // namespace Norvane
