// Fitting the exact standard shapes to the merged pieces of a loop, and ellipses and circles to chains of
// lines. Every fit averages what the drawing says twice (both radii of a slot's edges, both flats of a
// double-D, all four corners of a rectangle), so that the noise of the joints partly cancels.
#include <algorithm>
#include <array>
#include <cmath>

#include <boost/make_shared.hpp>

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
#include "geomFeature/processor/ImportTolerance.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/TolerantGrouper.h"
#include "geomFeature/processor/detail/FitPiece.h"

namespace Norvane {
namespace detail {

namespace {

// The sequence of lines ('L') and arcs ('A') of the pieces, turned round (rotated) so that it starts as
// `wanted` does; the rotation is written to shift. False when no rotation matches.
bool Matches(const std::vector<FitPiece>& pieces, const char* wanted, std::size_t& shift) {
    const std::size_t n = pieces.size();
    if (std::char_traits<char>::length(wanted) != n) {
        return false;
    }
    for (shift = 0; shift < n; ++shift) {
        bool all = true;
        for (std::size_t i = 0; i < n && all; ++i) {
            all = pieces[(i + shift) % n].arc == (wanted[i] == 'A');
        }
        if (all) {
            return true;
        }
    }
    return false;
}

std::vector<FitPiece> Rotated(const std::vector<FitPiece>& pieces, std::size_t shift) {
    std::vector<FitPiece> out;
    for (std::size_t i = 0; i < pieces.size(); ++i) out.push_back(pieces[(i + shift) % pieces.size()]);
    return out;
}

// The corners of a closed chain of pieces: each joint as the middle of the two ends that meet there.
std::vector<Point2D> Joints(const std::vector<FitPiece>& pieces) {
    std::vector<Point2D> joints;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        joints.push_back((pieces[(i + pieces.size() - 1) % pieces.size()].p1 + pieces[i].p0) * 0.5);
    }
    return joints;
}

double Distance(const Point2D& p, const Point2D& a, const Point2D& b) {
    const Vector2D along = (b - a).GetUnit();
    return std::fabs(along.CrossProduct(p - a));
}

// A rectangle through four corners q0..q3 in order: its centre, the unit direction e of the sides q0q1 and
// q2q3, and the side lengths along e and across it (each the mean of the two opposite sides).
struct Box {
    Point2D centre;
    Vector2D e;
    double along = 0.0;
    double across = 0.0;
};
Box FitBox(const std::array<Point2D, 4>& q) {
    const Vector2D s0 = q[1] - q[0];
    const Vector2D s1 = q[2] - q[1];
    const Vector2D s2 = q[3] - q[2];
    const Vector2D s3 = q[0] - q[3];
    // s1 and s3 turned back onto s0's direction: a quarter turn one way or the other, by the chain's sense.
    const bool ccw = s0.CrossProduct(s1) > 0.0;
    const Vector2D w = s1 - s3;
    const Vector2D wTurned = ccw ? Vector2D(w.y, -w.x) : Vector2D(-w.y, w.x);
    Box box;
    box.e = ((s0 - s2) + wTurned).GetUnit();
    const Vector2D f = box.e.Orthogonal();
    box.along = std::fabs((s0 - s2).DotProduct(box.e)) * 0.5;
    box.across = std::fabs(w.DotProduct(f)) * 0.5;
    box.centre = (q[0] + q[1] + q[2] + q[3]) * 0.25;
    return box;
}

IPatternPtr FitRectangle(const std::vector<FitPiece>& pieces) {
    const std::vector<Point2D> j = Joints(pieces);
    const Box box = FitBox({j[0], j[1], j[2], j[3]});
    if (!(box.along > 0.0) || !(box.across > 0.0)) {
        return IPatternPtr();
    }
    const Vector2D f = box.e.Orthogonal();
    const Point2D corner = box.centre - box.e * (box.along * 0.5) - f * (box.across * 0.5);
    return boost::make_shared<RectHolePattern>(corner, box.e * box.along, box.across / box.along);
}

// The base is the side whose two neighbours are the most nearly equal; the apex is the corner opposite.
IPatternPtr FitTriangle(const std::vector<FitPiece>& pieces) {
    const std::vector<Point2D> j = Joints(pieces);
    std::array<double, 3> side{};
    for (std::size_t i = 0; i < 3; ++i) side[i] = j[i].DistanceTo(j[(i + 1) % 3]);
    std::size_t base = 0;
    for (std::size_t i = 1; i < 3; ++i) {
        if (std::fabs(side[(i + 1) % 3] - side[(i + 2) % 3]) <
            std::fabs(side[(base + 1) % 3] - side[(base + 2) % 3])) {
            base = i;
        }
    }
    const Point2D a = j[base];
    const Point2D b = j[(base + 1) % 3];
    const Point2D apex = j[(base + 2) % 3];
    const Point2D middle = (a + b) * 0.5;
    Vector2D e = (b - a).GetUnit();
    double height = e.CrossProduct(apex - middle);
    if (height < 0.0) {  // the apex stands on the left of the base's direction
        e = -e;
        height = -height;
    }
    const double length = a.DistanceTo(b);
    if (!(length > 0.0) || !(height > 0.0)) {
        return IPatternPtr();
    }
    return boost::make_shared<TRHolePattern>(middle, e.Angle(), length, height);
}

// Line then arc. The flat lies at distance t from the arc's centre, on the side away from the arc's middle;
// the shape's direction is a quarter turn counter-clockwise from the centre towards the flat.
IPatternPtr FitSingleD(const FitPiece& flat, const FitPiece& arc) {
    const Vector2D along = (flat.p1 - flat.p0).GetUnit();
    const Point2D foot = flat.p0 + along * (arc.centre - flat.p0).DotProduct(along);
    const Point2D arcMiddle = arc.At(0.5);
    Vector2D towardFlat = (foot - arc.centre);
    double t = towardFlat.Length();
    towardFlat = towardFlat.GetUnit();
    if (towardFlat.DotProduct(arcMiddle - arc.centre) > 0.0) {
        t = -t;  // the flat lies beyond the centre: no single-D
    }
    if (!(t >= 0.0) || !(t < arc.radius)) {
        return IPatternPtr();
    }
    if (t == 0.0) {  // exact: a flat through the centre gives no direction of its own
        towardFlat = (arc.centre - arcMiddle).GetUnit();
    }
    return boost::make_shared<SingleDPattern>(arc.centre, arc.radius, t,
                                              towardFlat.Angle() + MathEx::PI / 2.0);
}

// Arc, line, arc, line: a double-D when the arcs share a centre within tolerance, else an obround.
IPatternPtr FitObroundOrDoubleD(const std::vector<FitPiece>& p, double tolerance) {
    const FitPiece& a1 = p[0];
    const FitPiece& a2 = p[2];
    const double radius = (a1.radius + a2.radius) * 0.5;
    if (a1.centre.DistanceTo(a2.centre) <= tolerance) {  // inclusive
        const Point2D centre = (a1.centre + a2.centre) * 0.5;
        const double t = (Distance(centre, p[1].p0, p[1].p1) + Distance(centre, p[3].p0, p[3].p1)) * 0.5;
        if (!(t < radius)) {
            return IPatternPtr();
        }
        return boost::make_shared<DoubleDPattern>(centre, radius, t, (p[1].p1 - p[1].p0).Angle());
    }
    const Vector2D axis = a2.centre - a1.centre;
    return boost::make_shared<OBroundPattern>((a1.centre + a2.centre) * 0.5, axis.Angle(), axis.Length(),
                                              2.0 * radius);
}

// Four arcs: two edges on one centre (a0 and a2, after rotation) and two end caps whose centres lie on the
// centre line. The centre line runs counter-clockwise from one cap's centre to the other's through the
// angle the edges span.
IPatternPtr FitRadSlot(const std::vector<FitPiece>& arcs, double tolerance) {
    std::size_t first = 0;
    if (arcs[0].centre.DistanceTo(arcs[2].centre) > tolerance) {
        first = 1;
        if (arcs[1].centre.DistanceTo(arcs[3].centre) > tolerance) {
            return IPatternPtr();
        }
    }
    const FitPiece& e1 = arcs[first];
    const FitPiece& e2 = arcs[first + 2];
    const FitPiece& c1 = arcs[(first + 1) % 4];
    const FitPiece& c2 = arcs[(first + 3) % 4];
    const Point2D centre = (e1.centre + e2.centre) * 0.5;
    const double radius = (e1.radius + e2.radius) * 0.5;
    const double width = (std::fabs(e1.radius - e2.radius) + c1.radius + c2.radius) * 0.5;
    if (!(width > 0.0) || !(radius > width * 0.5)) {
        return IPatternPtr();
    }
    const double span = (std::fabs(e1.sweep) + std::fabs(e2.sweep)) * 0.5;
    const double phi1 = (c1.centre - centre).Angle();
    const double phi2 = (c2.centre - centre).Angle();
    const auto ccwFrom = [](double from, double to) {
        const double d = std::fmod(to - from + 2.0 * MathEx::PI2, MathEx::PI2);
        return d;
    };
    const double sweep12 = ccwFrom(phi1, phi2);
    const double sweep21 = ccwFrom(phi2, phi1);
    const bool fromFirst = std::fabs(sweep12 - span) <= std::fabs(sweep21 - span);
    return boost::make_shared<RadSlotPattern>(centre, radius, fromFirst ? phi1 : phi2,
                                              fromFirst ? sweep12 : sweep21, width);
}

// Line, arc, line, arc, ...: the corner arcs' centres form a rectangle, shrunk by the corner radius.
IPatternPtr FitRoundedRectangle(const std::vector<FitPiece>& p) {
    const Box box = FitBox({p[1].centre, p[3].centre, p[5].centre, p[7].centre});
    const double r = (p[1].radius + p[3].radius + p[5].radius + p[7].radius) * 0.25;
    double length = box.along + 2.0 * r;
    double width = box.across + 2.0 * r;
    double angle = box.e.Angle();
    if (length < width) {  // the length runs along the longer sides
        std::swap(length, width);
        angle += MathEx::PI / 2.0;
    }
    if (!(r > 0.0) || !(width > 2.0 * r)) {
        return IPatternPtr();
    }
    return boost::make_shared<RCHolePattern>(box.centre, length, width, r, angle);
}

}  // namespace

IPatternPtr FitFewPieces(const std::vector<FitPiece>& merged, double tolerance) {
    std::size_t shift = 0;
    if (merged.size() == 1) {
        // A closed loop of one arc: a circle whatever its sweep reads, since its ends meet within tolerance.
        return merged[0].arc ? boost::make_shared<CirclePattern>(merged[0].centre, merged[0].radius)
                             : IPatternPtr();
    }
    if (Matches(merged, "LA", shift)) {
        const std::vector<FitPiece> p = Rotated(merged, shift);
        return FitSingleD(p[0], p[1]);
    }
    if (Matches(merged, "LLL", shift)) {
        return FitTriangle(merged);
    }
    if (Matches(merged, "LLLL", shift)) {
        return FitRectangle(merged);
    }
    if (Matches(merged, "ALAL", shift)) {
        return FitObroundOrDoubleD(Rotated(merged, shift), tolerance);
    }
    if (Matches(merged, "AAAA", shift)) {
        return FitRadSlot(merged, tolerance);
    }
    if (Matches(merged, "LALALALA", shift)) {
        return FitRoundedRectangle(Rotated(merged, shift));
    }
    return IPatternPtr();
}

namespace {

// Distance from p to the ellipse of half axes a >= b centred at the origin along x (p in that frame), by
// Newton steps on the parameter of the nearest point.
double DistanceToEllipse(double a, double b, double u, double v) {
    double t = std::atan2(a * v, b * u);
    for (int k = 0; k < 30; ++k) {
        const double c = std::cos(t);
        const double s = std::sin(t);
        const double f = (a * a - b * b) * s * c - u * a * s + v * b * c;
        const double df = (a * a - b * b) * (c * c - s * s) - u * a * c - v * b * s;
        if (df == 0.0) {  // exact: a flat spot of the step function; the estimate stands
            break;
        }
        const double step = f / df;
        t -= step;
        if (std::fabs(step) < 1e-15) {
            break;
        }
    }
    return std::hypot(u - a * std::cos(t), v - b * std::sin(t));
}

}  // namespace

IPatternPtr FitCurveChain(const std::vector<Point2D>& vertices, double tolerance) {
    TolerantGrouper::Ellipse fit;
    if (!TolerantGrouper::FitEllipse(vertices, fit)) {
        return IPatternPtr();
    }
    const bool round = fit.a - fit.b <= tolerance;  // inclusive
    if (!round && MathEx::EqualA(fit.a, fit.b, kEllipseCircleTol) != 0) {
        return IPatternPtr();  // neither a circle within tolerance nor an ellipse the module makes
    }
    const double a = round ? (fit.a + fit.b) * 0.5 : fit.a;
    const double b = round ? a : fit.b;
    const double c = std::cos(fit.angle);
    const double s = std::sin(fit.angle);
    double turned = 0.0;
    double previous = 0.0;
    int sense = 0;
    for (std::size_t i = 0; i <= vertices.size(); ++i) {
        const Vector2D d = vertices[i % vertices.size()] - fit.centre;
        const double u = c * d.x + s * d.y;
        const double v = -s * d.x + c * d.y;
        if (i < vertices.size() && !(DistanceToEllipse(a, b, u, v) <= tolerance)) {
            return IPatternPtr();
        }
        const double t = std::atan2(v / b, u / a);
        if (i > 0) {
            const double step = std::remainder(t - previous, MathEx::PI2);
            const int stepSense = step > 0.0 ? 1 : -1;
            if (std::fabs(step) > kFitMaxCurveStep || step == 0.0 || (sense != 0 && stepSense != sense)) {
                return IPatternPtr();
            }
            sense = stepSense;
            turned += step;
        }
        previous = t;
    }
    if (std::fabs(std::fabs(turned) - MathEx::PI2) > MathEx::PI) {  // once round, not twice
        return IPatternPtr();
    }
    if (round) {
        return boost::make_shared<CirclePattern>(fit.centre, a);
    }
    auto ellipse = boost::make_shared<EllipsePattern>(fit.centre, fit.angle, 2.0 * a, 2.0 * b);
    ellipse->SetSegCount(PatGrouper::SnapEllipseSegCount(static_cast<int>(vertices.size())));
    return ellipse;
}

}  // namespace detail

namespace {

// Solves the 5 x 5 system m x = r in place by Gaussian elimination with partial pivoting; false when
// singular.
bool Solve5(std::array<std::array<double, 6>, 5>& m, std::array<double, 5>& x) {
    for (int col = 0; col < 5; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 5; ++row) {
            if (std::fabs(m[row][col]) > std::fabs(m[pivot][col]))
                pivot = row;
        }
        if (m[pivot][col] == 0.0) {  // exact: a singular system
            return false;
        }
        std::swap(m[col], m[pivot]);
        for (int row = col + 1; row < 5; ++row) {
            const double f = m[row][col] / m[col][col];
            for (int k = col; k < 6; ++k) m[row][k] -= f * m[col][k];
        }
    }
    for (int row = 4; row >= 0; --row) {
        double sum = m[row][5];
        for (int k = row + 1; k < 5; ++k) sum -= m[row][k] * x[k];
        x[row] = sum / m[row][row];
    }
    return true;
}

}  // namespace

// The conic A x^2 + B xy + C y^2 + D x + E y = 1 in coordinates centred on the points' mean (which lies
// inside any ellipse the points go round, so the constant term cannot vanish) and scaled by their spread.
// Points that lie on an ellipse give it exactly; small noise moves it by about as much as the noise.
bool TolerantGrouper::FitEllipse(const std::vector<Point2D>& points, Ellipse& ellipse) {
    const std::size_t n = points.size();
    if (n < 5) {
        return false;
    }
    Point2D mean(0.0, 0.0);
    for (const Point2D& p : points) mean = mean + p;
    mean = mean / static_cast<double>(n);
    double spread = 0.0;
    for (const Point2D& p : points) spread = std::max(spread, p.DistanceTo(mean));
    if (!(spread > 0.0) || !std::isfinite(spread)) {
        return false;
    }
    std::array<std::array<double, 6>, 5> normal{};
    for (const Point2D& p : points) {
        const double x = (p.x - mean.x) / spread;
        const double y = (p.y - mean.y) / spread;
        const std::array<double, 5> row = {x * x, x * y, y * y, x, y};
        for (int i = 0; i < 5; ++i) {
            for (int k = 0; k < 5; ++k) normal[i][k] += row[i] * row[k];
            normal[i][5] += row[i];
        }
    }
    std::array<double, 5> q{};
    if (!Solve5(normal, q)) {
        return false;
    }
    const double A = q[0];
    const double B = q[1] * 0.5;
    const double C = q[2];
    const double det = A * C - B * B;
    if (!(det > 0.0)) {
        return false;  // a parabola or hyperbola
    }
    // Centre x0 = -M^-1 g / 2 with M = [[A, B], [B, C]] and g = (D, E); then (x-x0)' M (x-x0) = K.
    const double x0 = -(C * q[3] - B * q[4]) / (2.0 * det);
    const double y0 = -(A * q[4] - B * q[3]) / (2.0 * det);
    const double K = 1.0 + A * x0 * x0 + 2.0 * B * x0 * y0 + C * y0 * y0;
    const double mid = (A + C) * 0.5;
    const double root = std::hypot((A - C) * 0.5, B);
    const double small = mid - root;  // the eigenvalue of the major axis
    const double large = mid + root;
    if (!(K > 0.0) || !(small > 0.0)) {
        return false;
    }
    ellipse.a = std::sqrt(K / small) * spread;
    ellipse.b = std::sqrt(K / large) * spread;
    // The major axis is the eigenvector of the smaller eigenvalue.
    ellipse.angle = 0.5 * std::atan2(-2.0 * B, C - A);
    ellipse.centre = Point2D(mean.x + x0 * spread, mean.y + y0 * spread);
    return std::isfinite(ellipse.a) && std::isfinite(ellipse.b) && std::isfinite(ellipse.angle);
}

}  // namespace Norvane
