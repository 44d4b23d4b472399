#include "geomFeature/processor/StdShapeCanonical.h"

#include <array>
#include <cmath>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"

namespace Norvane {

namespace {

// How far every window starts before the symmetric -period/2 (see the header).
constexpr double kWindowShift = 0.1;

double Length(double value) {
    return std::round(value / kCanonicalLength) * kCanonicalLength;
}

// angle reduced into [-period/2 - shift, period/2 - shift), then rounded. A value that rounding pushes onto
// the window's end is the same turn as its start.
double Turn(double angle, double period) {
    const double from = -period / 2.0 - kWindowShift;
    double a = angle - period * std::floor((angle - from) / period);
    a = std::round(a / kCanonicalAngle) * kCanonicalAngle;
    return a >= from + period ? a - period : a;
}

Vector2D Polar(double length, double angle) {
    return Vector2D(length * std::cos(angle), length * std::sin(angle));
}

bool SameLength(double a, double b) {
    return Length(a) == Length(b);
}

// A rectangle: four descriptions, one from each corner along the side that leaves it counter-clockwise.
void Canonical(RectHolePattern& rect) {
    Vector2D side = rect.GetBaseVector();
    Vector2D across = rect.GetWidthVector();
    Point2D corner = rect.GetBasePoint();
    if (rect.GetOrthoRatio() < 0.0) {  // the width vector on the right: start from the corner across
        corner = corner + across;
        across = -across;
    }
    const std::array<Point2D, 4> corners = {corner, corner + side, corner + side + across, corner + across};
    const std::array<Vector2D, 4> sides = {side, across, -side, -across};
    const double quarter = MathEx::PI / 2.0;
    const double angle = side.Angle();
    const double turn = Turn(angle, quarter);
    // The description whose first side points along the chosen turn: (turn - angle) / quarter turns on.
    const int k = static_cast<int>(std::lround((turn - angle) / quarter)) & 3;
    const double length = Length(sides[k].Length());
    const double width = Length(sides[(k + 1) & 3].Length());
    if (!(length > 0.0)) return;
    rect.SetBasePoint(corners[k]);
    rect.SetBaseVector(Polar(length, turn));
    rect.SetOrthoRadio(width / length);
}

// An isosceles triangle with three equal sides has three descriptions, one from each side.
void Canonical(TRHolePattern& tri) {
    const Vector2D base = tri.GetBaseVector();
    const Point2D left = tri.GetBasePoint() - base / 2.0;
    const Point2D right = tri.GetBasePoint() + base / 2.0;
    const Point2D apex = tri.GetApex();
    const double length = Length(base.Length());
    double height = Length(tri.GetHeight());
    if (!(length > 0.0)) return;
    double turn = Turn(base.Angle(), MathEx::PI2);
    Point2D middle = tri.GetBasePoint();
    if (SameLength(left.DistanceTo(apex), length) && SameLength(right.DistanceTo(apex), length)) {
        // The sides, run counter-clockwise, point a third of a turn apart: take the one in the window.
        const std::array<Point2D, 4> ring = {left, right, apex, left};
        const double third = MathEx::PI2 / 3.0;
        turn = Turn(base.Angle(), third);
        for (std::size_t i = 0; i < 3; ++i) {
            const Vector2D v = ring[i + 1] - ring[i];
            if (std::fabs(std::remainder(v.Angle() - turn, MathEx::PI2)) < third / 2.0) {
                middle = (ring[i] + ring[i + 1]) / 2.0;
                break;
            }
        }
        height = Length(length * std::sqrt(3.0) / 2.0);
    }
    tri.SetBasePoint(middle);
    tri.SetBaseVector(Polar(length, turn));
    tri.SetOrthoRadio(height / length);
}

void Canonical(RadSlotPattern& slot) {
    double start = slot.GetStartAngle();
    double sweep = slot.GetMoveAngle();
    if (sweep < 0.0) {  // the same slot described from its other end
        start += sweep;
        sweep = -sweep;
    }
    const double radius = Length(slot.GetRadius());
    const double width = Length(slot.GetWidth());
    if (!(radius > 0.0)) return;
    slot.SetBaseVector(Polar(radius, Turn(start, MathEx::PI2)));
    slot.SetMoveAngle(std::round(sweep / kCanonicalAngle) * kCanonicalAngle);
    slot.SetWidthRatio(width / radius);
}

// A circle with flats (single-D, double-D): radius, distance to the flat, turn.
template <class Shape>
void CanonicalFlats(Shape& shape, double period) {
    const double radius = Length(shape.GetRadius());
    if (!(radius > 0.0)) return;
    const double toChord = Length(shape.GetToChord());
    shape.SetBaseVector(Polar(radius, Turn(shape.GetAngle(), period)));
    shape.SetOrthoRadio(toChord / radius);
}

}  // namespace

void CanonicaliseStdShape(const IPatternPtr& shape) {
    if (!shape) return;
    const double pi = MathEx::PI;
    if (auto circle = boost::dynamic_pointer_cast<CirclePattern>(shape)) {
        circle->SetBaseVector(Vector2D(Length(circle->GetRadius()), 0.0));
    } else if (auto rect = boost::dynamic_pointer_cast<RectHolePattern>(shape)) {
        Canonical(*rect);
    } else if (auto tri = boost::dynamic_pointer_cast<TRHolePattern>(shape)) {
        Canonical(*tri);
    } else if (auto slot = boost::dynamic_pointer_cast<RadSlotPattern>(shape)) {
        Canonical(*slot);
    } else if (auto rc = boost::dynamic_pointer_cast<RCHolePattern>(shape)) {
        const double length = Length(rc->GetLength());
        const double width = Length(rc->GetWidth());
        const double radius = Length(rc->GetArcRadius());
        if (!(length > 0.0)) return;
        rc->SetBaseVector(Polar(length / 2.0, Turn(rc->GetAngle(), length == width ? pi / 2.0 : pi)));
        rc->SetOrthoRadio(width / length);
        rc->SetArcRatio(radius / (length / 2.0));
    } else if (auto ob = boost::dynamic_pointer_cast<OBroundPattern>(shape)) {
        const double length = Length(ob->GetLength());
        if (!(length > 0.0)) return;
        const double width = Length(ob->GetWidth());
        ob->SetBaseVector(Polar(length, Turn(ob->GetAngle(), pi)));
        ob->SetOrthoRadio(width / length);
    } else if (auto ellipse = boost::dynamic_pointer_cast<EllipsePattern>(shape)) {
        double length = Length(ellipse->GetLength());
        double width = Length(ellipse->GetWidth());
        double angle = ellipse->GetAngle();
        if (width > length) {  // the longer axis first
            std::swap(length, width);
            angle += pi / 2.0;
        }
        if (!(length > 0.0)) return;
        // With equal axes the turn describes nothing.
        ellipse->SetBaseVector(Polar(length, length == width ? 0.0 : Turn(angle, pi)));
        ellipse->SetOrthoRadio(width / length);
    } else if (auto dd = boost::dynamic_pointer_cast<DoubleDPattern>(shape)) {
        CanonicalFlats(*dd, pi);  // two flats: a half turn on it is the same shape
    } else if (auto sd = boost::dynamic_pointer_cast<SingleDPattern>(shape)) {
        CanonicalFlats(*sd, 2.0 * pi);
    } else {
        return;
    }
    shape->UpdateCache();
}

}  // namespace Norvane
