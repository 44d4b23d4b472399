#include "geomFeature/processor/FittedShapeCanonical.h"

#include <cmath>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/ImportTolerance.h"

namespace Norvane {

namespace {

// Where the canonical range of a rotation starts, as a fraction of the period below zero.
constexpr double kCanonicalRangeStart = 0.1;

double Canonical(double angle, double period) {
    const double low = -kCanonicalRangeStart * period;
    double a = std::fmod(angle - low, period);
    if (a < 0.0)
        a += period;
    if (a >= period)
        a -= period;  // fmod's rounding
    return low + a;
}

bool EqualSides(double a, double b, double tolerance) {
    return std::fabs(a - b) <= std::fmax(tolerance, kCanonicalEqualSideRel * std::fmax(a, b));  // inclusive
}

void Rectangle(RectHolePattern& rect, double tolerance) {
    const Vector2D v = rect.GetBaseVector();
    const Vector2D w = rect.GetWidthVector();
    const Point2D centre = rect.GetBasePoint() + v * 0.5 + w * 0.5;
    double length = v.Length();
    double width = w.Length();
    Vector2D along = v;
    if (width > length) {
        along = w;
        std::swap(length, width);
    }
    const double period = EqualSides(length, width, tolerance) ? MathEx::PI / 2.0 : MathEx::PI;
    const double angle = Canonical(along.Angle(), period);
    const Vector2D e(std::cos(angle), std::sin(angle));
    rect.SetBasePoint(centre - e * (length * 0.5) - e.Orthogonal() * (width * 0.5));
    rect.SetBaseVector(e * length);
    rect.SetOrthoRadio(width / length);
}

}  // namespace

void CanonicaliseFittedShape(const IPatternPtr& shape, double tolerance) {
    const double pi = MathEx::PI;
    if (const auto ellipse = boost::dynamic_pointer_cast<EllipsePattern>(shape)) {
        ellipse->SetAngle(Canonical(ellipse->GetAngle(), pi));
    } else if (const auto obround = boost::dynamic_pointer_cast<OBroundPattern>(shape)) {
        obround->SetAngle(Canonical(obround->GetAngle(), pi));
    } else if (const auto doubleD = boost::dynamic_pointer_cast<DoubleDPattern>(shape)) {
        doubleD->SetAngle(Canonical(doubleD->GetAngle(), pi));
    } else if (const auto singleD = boost::dynamic_pointer_cast<SingleDPattern>(shape)) {
        singleD->SetAngle(Canonical(singleD->GetAngle(), 2.0 * pi));
    } else if (const auto rect = boost::dynamic_pointer_cast<RectHolePattern>(shape)) {
        Rectangle(*rect, tolerance);
    } else if (const auto rounded = boost::dynamic_pointer_cast<RCHolePattern>(shape)) {
        const double period =
            EqualSides(rounded->GetLength(), rounded->GetWidth(), tolerance) ? pi / 2.0 : pi;
        rounded->SetAngle(Canonical(rounded->GetAngle(), period));
    } else if (const auto triangle = boost::dynamic_pointer_cast<TRHolePattern>(shape)) {
        triangle->SetAngle(Canonical(triangle->GetAngle(), 2.0 * pi));
    } else if (const auto slot = boost::dynamic_pointer_cast<RadSlotPattern>(shape)) {
        double start = slot->GetStartAngle();
        double sweep = slot->GetMoveAngle();
        if (sweep < 0.0) {
            start += sweep;
            sweep = -sweep;
        }
        slot->SetStartAngle(Canonical(start, 2.0 * pi));
        slot->SetMoveAngle(sweep);
    }
}

}  // namespace Norvane
