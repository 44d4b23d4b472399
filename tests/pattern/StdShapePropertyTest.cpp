// Properties every standard shape must have, checked on seeded random sizes, rotations, mirrors and
// offsets of all nine shapes:
//   - the outline is one closed chain (each element starts where the previous one ends);
//   - its box is the analytic extent of the true shape;
//   - Transform by a rigid motion (mirrors included) gives exactly the moved outline, not a shape that
//     merely has the same dimensions;
//   - OffsetStdPat gives the dimensions of the offset rules (or refuses exactly where the rules refuse)
//     and keeps the point of symmetry in place, so arrays of the shape stay where they are;
//   - growing by d and shrinking by d gives back the same shape.
// A table then pins the offset rules exactly at their limits, which random sizes never hit.
// A failing trial prints the shape as a constructor literal, with the matrix and offset, to paste into a
// test.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"
#include "tests/support/RecordingPatternVisitor.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
constexpr double kTol = 1e-9;  // closure, extents, offsets, round trips
constexpr int kTrials = 300;   // per shape

using Dims = std::vector<double>;
using Rng = std::mt19937;

double Uniform(Rng& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

Point2D RandomPoint(Rng& rng) {
    return Point2D(Uniform(rng, -100, 100), Uniform(rng, -100, 100));
}

std::string Num(double v) {
    std::ostringstream os;
    os.precision(17);
    os << v;
    return os.str();
}

std::string Lit(const Point2D& p) {
    return "Point2D(" + Num(p.x) + ", " + Num(p.y) + ")";
}
std::string Lit(const Vector2D& v) {
    return "Vector2D(" + Num(v.x) + ", " + Num(v.y) + ")";
}
std::string Lit(const Matrix2D& m) {
    return "Matrix2D(" + Num(m.a) + ", " + Num(m.b) + ", " + Num(m.c) + ", " + Num(m.d) + ", " + Num(m.tx) +
           ", " + Num(m.ty) + ")";
}

// The box of a set of points.
Rect2D BoxOf(const std::vector<Point2D>& pts) {
    Rect2D box(pts[0].x, pts[0].x, pts[0].y, pts[0].y);
    for (const Point2D& p : pts) {
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.bottom = std::min(box.bottom, p.y);
        box.top = std::max(box.top, p.y);
    }
    return box;
}

Rect2D Inflated(Rect2D box, double d) {
    box.left -= d;
    box.right += d;
    box.bottom -= d;
    box.top += d;
    return box;
}

// The extreme points of a disc in +x, -x, +y, -y.
std::vector<Point2D> DiscExtremes(const Point2D& c, double r) {
    return {Point2D(c.x + r, c.y), Point2D(c.x - r, c.y), Point2D(c.x, c.y + r), Point2D(c.x, c.y - r)};
}

// Box of a circular arc of centre c, radius r from angle a with signed sweep m: its ends plus every axis
// direction it passes. Worked out here without the kernel's own box.
Rect2D ArcBox(const Point2D& c, double r, double a, double m) {
    const double lo = std::min(a, a + m);
    const double hi = std::max(a, a + m);
    std::vector<Point2D> pts{Point2D(c.x + r * std::cos(a), c.y + r * std::sin(a)),
                             Point2D(c.x + r * std::cos(a + m), c.y + r * std::sin(a + m))};
    for (double k = std::ceil(lo / (kPi / 2)); k * (kPi / 2) <= hi; k += 1.0) {
        const double t = k * (kPi / 2);
        pts.push_back(Point2D(c.x + r * std::cos(t), c.y + r * std::sin(t)));
    }
    return BoxOf(pts);
}

// One row of the property table, built as ShapeCase c{name, typeCode, visitorSlot, smooth, offsetScale,
// sizeCount, angleFrom} with the functions assigned after.
struct ShapeCase {
    std::string name;
    // Type code, IPatternVisitor slot and IsSmooth answer.
    int typeCode;
    int visitorSlot;
    int smooth;
    // Offset distances are drawn from (0, offsetScale * the smallest of the first sizeCount dimensions, the
    // sizes that limit an offset).
    double offsetScale;
    std::size_t sizeCount;
    // Dimensions from this index on are angles, compared as directions.
    std::size_t angleFrom;
    // A shape of random size and rotation at a random place.
    std::function<IStdPatternPtr(Rng&)> make{};
    // The shape's dimensions (sizes, then angles), read through its accessors.
    std::function<Dims(const IPattern&)> dims{};
    // The dimensions that OffsetStdPat(direction, d) must give by the offset rules; nullopt where the rules
    // refuse.
    std::function<std::optional<Dims>(const Dims&, int direction, double d)> offsetDims{};
    // The box of the true shape, from its dimensions and placement.
    std::function<Rect2D(const IPattern&)> extent{};
    // How far the outline may stray from the true shape: 1e-9, except for the ellipse, whose outline is a
    // chain of circular arcs through points of the true curve and may stray by a fraction of its length.
    std::function<double(const IPattern&)> extentTol = [](const IPattern&) { return kTol; };
    // C++ that builds the shape as it stands.
    std::function<std::string(const IPattern&)> literal{};
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

template <class T>
const T& As(const IPattern& p) {
    return dynamic_cast<const T&>(p);
}

// ---- the nine shapes -----------------------------------------------------------------------------------

ShapeCase CircleCase() {
    ShapeCase c{"Circle", 204, 11, 1, 1.2, 1, 1};
    c.make = [](Rng& rng) {
        return boost::make_shared<CirclePattern>(RandomPoint(rng), Uniform(rng, 0.5, 50));
    };
    c.dims = [](const IPattern& p) { return Dims{As<CirclePattern>(p).GetRadius()}; };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0)
            return Dims{d[0] + off};
        if (off >= d[0])
            return std::nullopt;
        return Dims{d[0] - off};
    };
    c.extent = [](const IPattern& p) {
        return BoxOf(DiscExtremes(p.GetBasePoint(), As<CirclePattern>(p).GetRadius()));
    };
    c.literal = [](const IPattern& p) {
        return "CirclePattern(" + Lit(p.GetBasePoint()) + ", " + Num(As<CirclePattern>(p).GetRadius()) + ")";
    };
    return c;
}

ShapeCase EllipseCase() {
    ShapeCase c{"Ellipse", 210, 12, 1, 0.7, 2, 2};
    c.make = [](Rng& rng) {
        const double length = Uniform(rng, 1, 50);
        return boost::make_shared<EllipsePattern>(RandomPoint(rng), Uniform(rng, -kPi, kPi), length,
                                                  length * Uniform(rng, 0.3, 1.0));
    };
    c.dims = [](const IPattern& p) {
        const auto& e = As<EllipsePattern>(p);
        return Dims{e.GetLength(), e.GetWidth(), e.GetAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0)
            return Dims{d[0] + 2 * off, d[1] + 2 * off, d[2]};
        if (std::fabs(d[0]) <= 2 * off || std::fabs(d[1]) <= 2 * off)
            return std::nullopt;
        return Dims{d[0] - 2 * off, d[1] - 2 * off, d[2]};
    };
    c.extent = [](const IPattern& p) {
        const auto& e = As<EllipsePattern>(p);
        const double a = e.GetLength() / 2, b = e.GetWidth() / 2, t = e.GetAngle();
        const double hx = std::hypot(a * std::cos(t), b * std::sin(t));
        const double hy = std::hypot(a * std::sin(t), b * std::cos(t));
        const Point2D o = p.GetBasePoint();
        return Rect2D(o.x - hx, o.x + hx, o.y - hy, o.y + hy);
    };
    // Sixteen arcs through points of an ellipse no flatter than 0.3 stray from it by far less than this
    // fraction of its length; a wrong axis or angle moves the box by much more.
    c.extentTol = [](const IPattern& p) { return 1e-3 * As<EllipsePattern>(p).GetLength(); };
    c.literal = [](const IPattern& p) {
        const auto& e = As<EllipsePattern>(p);
        return "EllipsePattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Num(e.GetOrthoRatio()) + ")";
    };
    return c;
}

ShapeCase OBroundCase() {
    ShapeCase c{"OBround", 209, 1, 1, 0.7, 2, 2};
    c.make = [](Rng& rng) {
        const double length = Uniform(rng, 0.5, 50);
        return boost::make_shared<OBroundPattern>(RandomPoint(rng), Uniform(rng, -kPi, kPi), length,
                                                  length * Uniform(rng, 0.1, 2.0));
    };
    c.dims = [](const IPattern& p) {
        const auto& o = As<OBroundPattern>(p);
        return Dims{o.GetLength(), o.GetWidth(), o.GetAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0)
            return Dims{d[0], d[1] + 2 * off, d[2]};
        if (d[0] <= 2 * off || d[1] <= 2 * off)
            return std::nullopt;
        return Dims{d[0], d[1] - 2 * off, d[2]};
    };
    c.extent = [](const IPattern& p) {
        const auto& o = As<OBroundPattern>(p);
        const Vector2D half = p.GetBaseVector() / 2.0;
        const Point2D c0 = p.GetBasePoint();
        return Inflated(BoxOf({c0 + half, c0 - half}), o.GetWidth() / 2);
    };
    c.literal = [](const IPattern& p) {
        return "OBroundPattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Num(As<OBroundPattern>(p).GetOrthoRatio()) + ")";
    };
    return c;
}

// The disc of radius R about the centre, cut by the half-planes (p - c) . f <= t for each f: the extreme
// points are the flat ends and those disc extremes that no flat cuts away.
Rect2D CutDiscBox(const Point2D& c, const Vector2D& axis, double radius, double toChord, bool twoFlats) {
    const Vector2D u = axis.GetUnit();
    const Vector2D right(u.y, -u.x);  // the flat of a single-D lies on the right of its axis
    const double half = std::sqrt(radius * radius - toChord * toChord);
    std::vector<Vector2D> normals{right};
    if (twoFlats) {
        normals.push_back(-right);
    }
    std::vector<Point2D> pts;
    for (const Vector2D& f : normals) {
        pts.push_back(c + f * toChord + u * half);
        pts.push_back(c + f * toChord - u * half);
    }
    for (const Point2D& q : DiscExtremes(c, radius)) {
        bool kept = true;
        for (const Vector2D& f : normals) {
            kept = kept && (q - c).DotProduct(f) <= toChord + 1e-12 * radius;
        }
        if (kept) {
            pts.push_back(q);
        }
    }
    return BoxOf(pts);
}

template <class T>
ShapeCase DCase(const std::string& name, bool twoFlats, int typeCode, int visitorSlot) {
    ShapeCase c{name, typeCode, visitorSlot, 0, 1.2, 2, 2};
    c.make = [](Rng& rng) {
        const double radius = Uniform(rng, 0.5, 50);
        return boost::make_shared<T>(RandomPoint(rng), radius, radius * Uniform(rng, 0.1, 0.95),
                                     Uniform(rng, -kPi, kPi));
    };
    c.dims = [](const IPattern& p) {
        const auto& s = As<T>(p);
        return Dims{s.GetRadius(), s.GetToChord(), s.GetAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0)
            return Dims{d[0] + off, d[1] + off, d[2]};
        if (d[0] <= off || d[1] <= off)
            return std::nullopt;
        return Dims{d[0] - off, d[1] - off, d[2]};
    };
    c.extent = [twoFlats](const IPattern& p) {
        const auto& s = As<T>(p);
        return CutDiscBox(p.GetBasePoint(), p.GetBaseVector(), s.GetRadius(), s.GetToChord(), twoFlats);
    };
    c.literal = [name](const IPattern& p) {
        const auto& s = As<T>(p);
        return name + "Pattern(" + Lit(p.GetBasePoint()) + ", " + Num(s.GetRadius()) + ", " +
               Num(s.GetToChord()) + ", " + Num(s.GetAngle()) + ")";
    };
    return c;
}

ShapeCase RadSlotCase() {
    ShapeCase c{"RadSlot", 300, 0, 1, 1.2, 2, 2};
    c.make = [](Rng& rng) {
        const double radius = Uniform(rng, 1, 50);
        double move = Uniform(rng, -1.9 * kPi, 1.9 * kPi);
        if (std::fabs(move) < 0.05) {
            move = 0.05;
        }
        return boost::make_shared<RadSlotPattern>(RandomPoint(rng), radius, Uniform(rng, -kPi, kPi), move,
                                                  radius * Uniform(rng, 0.05, 1.5));
    };
    c.dims = [](const IPattern& p) {
        const auto& s = As<RadSlotPattern>(p);
        return Dims{s.GetRadius(), s.GetWidth(), s.GetStartAngle(), s.GetMoveAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0) {
            if (off >= d[0] - d[1] / 2)
                return std::nullopt;
            return Dims{d[0], d[1] + 2 * off, d[2], d[3]};
        }
        if (2 * off >= d[1])
            return std::nullopt;
        return Dims{d[0], d[1] - 2 * off, d[2], d[3]};
    };
    c.extent = [](const IPattern& p) {
        const auto& s = As<RadSlotPattern>(p);
        return Inflated(ArcBox(p.GetBasePoint(), s.GetRadius(), s.GetStartAngle(), s.GetMoveAngle()),
                        s.GetWidth() / 2);
    };
    c.literal = [](const IPattern& p) {
        const auto& s = As<RadSlotPattern>(p);
        return "RadSlotPattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Lit(s.GetMidVector()) + ", " + Num(s.GetWidthRatio()) + ")";
    };
    return c;
}

ShapeCase RectHoleCase() {
    ShapeCase c{"RectHole", 202, 10, 0, 0.7, 2, 2};
    c.make = [](Rng& rng) {
        Vector2D side(Uniform(rng, 0.5, 50), 0.0);
        side.Rotate(Uniform(rng, -kPi, kPi));
        return boost::make_shared<RectHolePattern>(RandomPoint(rng), side, Uniform(rng, 0.1, 3.0));
    };
    c.dims = [](const IPattern& p) {
        const auto& r = As<RectHolePattern>(p);
        return Dims{r.GetLength(), r.GetWidth(), r.GetAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir == 0)
            return Dims{d[0] + 2 * off, d[1] + 2 * off, d[2]};
        if (d[0] <= 2 * off || d[1] <= 2 * off)
            return std::nullopt;
        return Dims{d[0] - 2 * off, d[1] - 2 * off, d[2]};
    };
    c.extent = [](const IPattern& p) {
        const Point2D o = p.GetBasePoint();
        const Vector2D v = p.GetBaseVector();
        const Vector2D w = As<RectHolePattern>(p).GetWidthVector();
        return BoxOf({o, o + v, o + v + w, o + w});
    };
    c.literal = [](const IPattern& p) {
        return "RectHolePattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Num(As<RectHolePattern>(p).GetOrthoRatio()) + ")";
    };
    return c;
}

ShapeCase RCHoleCase() {
    ShapeCase c{"RCHole", 206, 9, 1, 0.7, 2, 3};
    c.make = [](Rng& rng) {
        const double length = Uniform(rng, 0.5, 50);
        const double width = Uniform(rng, 0.5, 50);
        const double radius = Uniform(rng, 0.0, std::min(length, width) / 2);
        return boost::make_shared<RCHolePattern>(RandomPoint(rng), length, width, radius,
                                                 Uniform(rng, -kPi, kPi));
    };
    c.dims = [](const IPattern& p) {
        const auto& r = As<RCHolePattern>(p);
        return Dims{r.GetLength(), r.GetWidth(), r.GetArcRadius(), r.GetAngle()};
    };
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir != 0 && (d[0] <= 2 * off || d[1] <= 2 * off))
            return std::nullopt;
        const double delta = dir == 0 ? off : -off;
        const double length = d[0] + 2 * delta;
        const double width = d[1] + 2 * delta;
        // The corner radius keeps its ratio to half the length, clamped to half the smaller side.
        const double radius = std::min(d[2] * length / d[0], std::min(length, width) / 2);
        return Dims{length, width, radius, d[3]};
    };
    c.extent = [](const IPattern& p) {
        const auto& r = As<RCHolePattern>(p);
        const Vector2D u = p.GetBaseVector().GetUnit();
        const Vector2D along = u * (r.GetLength() / 2 - r.GetArcRadius());
        const Vector2D across = u.Orthogonal() * (r.GetWidth() / 2 - r.GetArcRadius());
        const Point2D o = p.GetBasePoint();
        return Inflated(
            BoxOf({o + along + across, o - along + across, o - along - across, o + along - across}),
            r.GetArcRadius());
    };
    c.literal = [](const IPattern& p) {
        const auto& r = As<RCHolePattern>(p);
        return "RCHolePattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Num(r.GetOrthoRatio()) + ", " + Num(r.GetArcRatio()) + ")";
    };
    return c;
}

ShapeCase TRHoleCase() {
    ShapeCase c{"TRHole", 208, 2, 0, 0.7, 2, 2};
    c.make = [](Rng& rng) {
        return boost::make_shared<TRHolePattern>(RandomPoint(rng), Uniform(rng, -kPi, kPi),
                                                 Uniform(rng, 0.5, 50), Uniform(rng, 0.5, 50));
    };
    c.dims = [](const IPattern& p) {
        const auto& t = As<TRHolePattern>(p);
        return Dims{t.GetLength(), t.GetHeight(), t.GetAngle()};
    };
    // Every side moves by d with sharp corners; the base changes by 2 (d / cos b + d tan b), b half the
    // apex angle, and the height keeps its ratio to the base.
    c.offsetDims = [](const Dims& d, int dir, double off) -> std::optional<Dims> {
        if (dir != 0 && 2 * off >= d[0])
            return std::nullopt;
        const double beta = std::atan(d[0] / (2 * d[1]));
        const double change = 2 * (off / std::cos(beta) + off * std::tan(beta));
        const double length = dir == 0 ? d[0] + change : d[0] - change;
        if (length <= 0)
            return std::nullopt;  // the sides would pass the inscribed centre
        return Dims{length, length * d[1] / d[0], d[2]};
    };
    c.extent = [](const IPattern& p) {
        const Vector2D half = p.GetBaseVector() / 2.0;
        const Point2D o = p.GetBasePoint();
        return BoxOf({o - half, o + half, As<TRHolePattern>(p).GetApex()});
    };
    c.literal = [](const IPattern& p) {
        return "TRHolePattern(" + Lit(p.GetBasePoint()) + ", " + Lit(p.GetBaseVector()) + ", " +
               Num(As<TRHolePattern>(p).GetOrthoRatio()) + ")";
    };
    return c;
}

ShapeCase SingleDCase() {
    return DCase<SingleDPattern>("SingleD", false, 205, 8);
}
ShapeCase DoubleDCase() {
    return DCase<DoubleDPattern>("DoubleD", true, 211, 7);
}

std::vector<ShapeCase> AllShapes() {
    return {CircleCase(),  EllipseCase(),  OBroundCase(), SingleDCase(), DoubleDCase(),
            RadSlotCase(), RectHoleCase(), RCHoleCase(),  TRHoleCase()};
}

// ---- the checks ------------------------------------------------------------------------------------------

// A random rigid motion: a turn about the origin, half of the time a reflection about a random line, then
// a move.
Matrix2D RandomMotion(Rng& rng) {
    Matrix2D m;
    m.Rotate(Uniform(rng, -kPi, kPi));
    if (Uniform(rng, 0, 1) < 0.5) {
        const double a = Uniform(rng, -kPi, kPi);
        m.Mirror(RandomPoint(rng), Vector2D(std::cos(a), std::sin(a)));
    }
    m.Transfer(Vector2D(Uniform(rng, -50, 50), Uniform(rng, -50, 50)));
    return m;
}

// Angles are compared as directions; sizes by value. The tolerance scales with the size compared.
bool DimsNear(const Dims& a, const Dims& b, std::size_t angleFrom, double tol) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double diff = i >= angleFrom ? MathEx::GetSignedAng(a[i] - b[i], 0.0) : a[i] - b[i];
        if (!(std::fabs(diff) <= tol * std::max(1.0, std::fabs(b[i]))))
            return false;
    }
    return true;
}

std::string Show(const Dims& d) {
    std::string s = "{";
    for (std::size_t i = 0; i < d.size(); ++i) {
        s += (i ? ", " : "") + Num(d[i]);
    }
    return s + "}";
}

class StdShapeProperty : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(StdShapeProperty, OutlineClosesAndFitsTheAnalyticBox) {
    const ShapeCase& c = GetParam();
    Rng rng(20240611u + static_cast<unsigned>(c.name.size()));
    for (int trial = 0; trial < kTrials; ++trial) {
        const IStdPatternPtr shape = c.make(rng);
        shape->UpdateCache();
        const Geom2DListPtr outline = shape->GetCacheData()->GetBaseGeom();
        ASSERT_TRUE(outline);
        const auto closes = testutil::ChainCloses(*outline, kTol);
        const auto fits =
            testutil::BoxNear(shape->GetCacheData()->GetRect(), c.extent(*shape), c.extentTol(*shape));
        // Every closed shape is drawn counter-clockwise, so loops can rely on its orientation.
        const double area = testutil::ChainSignedArea(*outline);
        if (!closes || !fits || !(area > 0)) {
            ADD_FAILURE() << c.name << " trial " << trial << ": " << closes.message() << fits.message()
                          << (area > 0 ? "" : " outline is not counter-clockwise")
                          << "\n  shape: " << c.literal(*shape);
            return;
        }
    }
}

TEST_P(StdShapeProperty, TransformMovesTheOutlineRigidly) {
    const ShapeCase& c = GetParam();
    Rng rng(777u + static_cast<unsigned>(c.name.size()));
    for (int trial = 0; trial < kTrials; ++trial) {
        const IStdPatternPtr shape = c.make(rng);
        const Matrix2D m = RandomMotion(rng);
        const std::string before = c.literal(*shape);
        shape->UpdateCache();
        const Geom2DListPtr moved = shape->GetCacheData()->GetBaseGeom()->Clone();
        moved->Transform(m);
        shape->Transform(m);
        shape->UpdateCache();
        const Geom2DList& outline = *shape->GetCacheData()->GetBaseGeom();
        const auto same = testutil::SameCurve(outline, *moved, c.extentTol(*shape));
        const auto closes = testutil::ChainCloses(outline, kTol);
        const auto fits =
            testutil::BoxNear(shape->GetCacheData()->GetRect(), c.extent(*shape), c.extentTol(*shape));
        if (!same || !closes || !fits) {
            ADD_FAILURE() << c.name << " trial " << trial << ": " << same.message() << closes.message()
                          << fits.message() << "\n  shape: " << before << "\n  matrix: " << Lit(m)
                          << (m.IsMirror() ? " (mirror)" : "");
            return;
        }
    }
}

TEST_P(StdShapeProperty, OffsetFollowsTheTableAndKeepsTheSymmetryPoint) {
    const ShapeCase& c = GetParam();
    const std::size_t angleFrom = c.angleFrom;
    Rng rng(4242u + static_cast<unsigned>(c.name.size()));
    int refused = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const IStdPatternPtr shape = c.make(rng);
        const Dims before = c.dims(*shape);
        const double smallest = *std::min_element(before.begin(), before.begin() + c.sizeCount);
        const double d = Uniform(rng, 0.0, c.offsetScale * smallest);
        const int direction = trial % 2;
        const std::string literal = c.literal(*shape);
        const Point2D centre = shape->GetSymmetryPt();
        const Point2D basePoint = shape->GetBasePoint();
        const Vector2D baseVector = shape->GetBaseVector();

        const std::optional<Dims> expected = c.offsetDims(before, direction, d);
        const int answer = shape->OffsetStdPat(direction, d);
        const Dims after = c.dims(*shape);
        std::string problem;
        if (!expected) {
            ++refused;
            if (answer != 0 || shape->GetBasePoint() != basePoint || shape->GetBaseVector() != baseVector ||
                after != before) {
                problem = "the rules refuse, but the shape answered " + std::to_string(answer) +
                          " and became " + Show(after);
            }
        } else if (answer != 1) {
            problem = "refused; the rules give " + Show(*expected);
        } else if (!DimsNear(after, *expected, angleFrom, kTol)) {
            problem = "gave " + Show(after) + "; the rules give " + Show(*expected);
        } else if (!testutil::PointNear(shape->GetSymmetryPt(), centre, kTol * std::max(1.0, smallest))) {
            problem =
                "moved the point of symmetry from " + Lit(centre) + " to " + Lit(shape->GetSymmetryPt());
        }
        if (!problem.empty()) {
            ADD_FAILURE() << c.name << " trial " << trial << ": OffsetStdPat(" << direction << ", " << Num(d)
                          << ") " << problem << "\n  shape: " << literal
                          << "\n  dims before: " << Show(before);
            return;
        }
    }
    // The distances reach past every shape's limits, so both branches of the rules are exercised.
    EXPECT_GT(refused, 0) << c.name;
    EXPECT_LT(refused, kTrials / 2) << c.name;
}

TEST_P(StdShapeProperty, GrowThenShrinkGivesTheShapeBack) {
    const ShapeCase& c = GetParam();
    const std::size_t angleFrom = c.angleFrom;
    Rng rng(99u + static_cast<unsigned>(c.name.size()));
    for (int trial = 0; trial < kTrials; ++trial) {
        const IStdPatternPtr shape = c.make(rng);
        const Dims before = c.dims(*shape);
        const double smallest = *std::min_element(before.begin(), before.begin() + c.sizeCount);
        const double d = Uniform(rng, 0.0, 0.45 * smallest);
        const std::string literal = c.literal(*shape);
        const Point2D basePoint = shape->GetBasePoint();
        const Vector2D baseVector = shape->GetBaseVector();
        if (shape->OffsetStdPat(0, d) == 0) {
            continue;  // a radius slot may refuse to widen; that is checked by the offset test above
        }
        const int shrunk = shape->OffsetStdPat(1, d);
        const double scale = std::max(1.0, baseVector.Length());
        if (shrunk != 1 || !DimsNear(c.dims(*shape), before, angleFrom, kTol) ||
            !testutil::PointNear(shape->GetBasePoint(), basePoint, kTol * scale) ||
            std::fabs(shape->GetBaseVector().x - baseVector.x) > kTol * scale ||
            std::fabs(shape->GetBaseVector().y - baseVector.y) > kTol * scale) {
            ADD_FAILURE() << c.name << " trial " << trial << ": grow then shrink by " << Num(d)
                          << " answered " << shrunk << " and gave " << c.literal(*shape)
                          << "\n  shape: " << literal;
            return;
        }
    }
}

// Type code, visitor slot and the standard-shape answers; a clone is a new object with the same shape and
// outline, still linked to its array; UpdateFrom copies the geometry of another shape of the class and keeps
// the identity.
TEST_P(StdShapeProperty, IdentityCloneAndUpdateFrom) {
    const ShapeCase& c = GetParam();
    Rng rng(5u + static_cast<unsigned>(c.name.size()));
    const IStdPatternPtr shape = c.make(rng);
    EXPECT_EQ(shape->GetPatternType(), c.typeCode);
    EXPECT_EQ(shape->IsStdPat(), 1);
    EXPECT_EQ(shape->IsArrayPat(), 0);
    EXPECT_EQ(shape->IsSmooth(), c.smooth);
    auto visitor = boost::make_shared<test::RecordingPatternVisitor>();
    shape->Accept(visitor);
    ASSERT_EQ(visitor->calls.size(), 1u);
    EXPECT_EQ(visitor->calls[0].slot, c.visitorSlot);
    EXPECT_EQ(visitor->calls[0].object, dynamic_cast<const void*>(shape.get()));

    const auto array = boost::make_shared<CirclePattern>();  // any pattern serves as the array here
    shape->SetBeControlPat(array);
    const IPatternPtr clone = boost::dynamic_pointer_cast<IPattern>(shape->Clone());
    ASSERT_TRUE(clone);
    EXPECT_NE(clone->GetID(), shape->GetID());
    EXPECT_EQ(clone->IsControlPat(),
              IPatternPtr(array));  // linked to the same array through shared relations
    EXPECT_EQ(shape->IsSameShape(clone), 1) << c.literal(*shape);
    shape->UpdateCache();
    clone->UpdateCache();
    EXPECT_TRUE(testutil::SameCurve(*clone->GetCacheData()->GetBaseGeom(),
                                    *shape->GetCacheData()->GetBaseGeom(), kTol));

    const IStdPatternPtr other = c.make(rng);
    const DataID otherID = other->GetID();
    EXPECT_EQ(other->IsSameShape(shape), 0) << "two random shapes should differ: " << c.literal(*other);
    other->UpdateFrom(shape);
    other->UpdateCache();
    EXPECT_EQ(other->GetID(), otherID);
    EXPECT_EQ(other->IsSameShape(shape), 1);
    EXPECT_TRUE(testutil::SameCurve(*other->GetCacheData()->GetBaseGeom(),
                                    *shape->GetCacheData()->GetBaseGeom(), kTol));
}

INSTANTIATE_TEST_SUITE_P(AllStandardShapes, StdShapeProperty, ::testing::ValuesIn(AllShapes()),
                         [](const ::testing::TestParamInfo<ShapeCase>& info) { return info.param.name; });

// ---- the offset rules at their limits -------------------------------------------------------------------

// The random trials never land exactly on a limit of the offset rules, so these rows do: at the limit the
// shape refuses (answer 0) and keeps its dimensions, base point and point of symmetry; just inside it the
// rules still give the hand-worked dimensions. Any non-zero direction shrinks.
struct OffsetLimitCase {
    std::string name;
    ShapeCase (*kind)();
    std::function<IStdPatternPtr()> make;
    int direction;
    double distance;
    int answer;
    Dims after;  // the shape's dimensions afterwards
};

void PrintTo(const OffsetLimitCase& c, std::ostream* os) {
    *os << c.name;
}

class StdShapeOffsetLimit : public ::testing::TestWithParam<OffsetLimitCase> {};

TEST_P(StdShapeOffsetLimit, RefusesAtTheLimitAndChangesNothing) {
    const OffsetLimitCase& c = GetParam();
    const ShapeCase kind = c.kind();
    const IStdPatternPtr shape = c.make();
    const Point2D centre = shape->GetSymmetryPt();
    const Point2D basePoint = shape->GetBasePoint();
    EXPECT_EQ(shape->OffsetStdPat(c.direction, c.distance), c.answer);
    EXPECT_TRUE(DimsNear(kind.dims(*shape), c.after, kind.angleFrom, 1e-12)) << Show(kind.dims(*shape));
    EXPECT_TRUE(testutil::PointNear(shape->GetSymmetryPt(), centre, 1e-12));
    if (c.answer == 0) {
        EXPECT_EQ(shape->GetBasePoint(), basePoint);
    }
}

// Makers of the shapes the rows start from.
using Maker = std::function<IStdPatternPtr()>;
Maker Circle(double radius) {
    return [=] { return boost::make_shared<CirclePattern>(Point2D(3, 4), radius); };
}
Maker Ellipse(double length, double width) {
    return [=] { return boost::make_shared<EllipsePattern>(Point2D(1, 2), 0.4, length, width); };
}
Maker OBround(double length, double width) {
    return [=] { return boost::make_shared<OBroundPattern>(Point2D(2, 2), 0.5, length, width); };
}
// R = 5 with the flat(s) 3 from the centre.
Maker SingleD() {
    return [] { return boost::make_shared<SingleDPattern>(Point2D(4, 4), 5, 3, 1.1); };
}
Maker DoubleD() {
    return [] { return boost::make_shared<DoubleDPattern>(Point2D(4, 4), 5, 3, 1.1); };
}
// R = 10, w = 4: widening stops where the inner edge would reach the centre, d = R - w/2 = 8.
Maker RadSlot() {
    return [] { return boost::make_shared<RadSlotPattern>(Point2D(1, 1), 10.0, 0.3, 1.0, 4.0); };
}
Maker RectHole() {
    return [] { return boost::make_shared<RectHolePattern>(Point2D(1, 2), Vector2D(10, 0), 0.4); };
}
Maker RCHole(double length, double width, double radius) {
    return [=] { return boost::make_shared<RCHolePattern>(Point2D(3, -1), length, width, radius, 0.7); };
}
Maker TRHole(double height) {
    return [=] { return boost::make_shared<TRHolePattern>(Point2D(0, 0), 0.0, 6.0, height); };
}

using O = OffsetLimitCase;
INSTANTIATE_TEST_SUITE_P(
    Limits, StdShapeOffsetLimit,
    ::testing::Values(
        O{"CircleShrinkJustShortOfR", CircleCase, Circle(5), 1, 4.9, 1, {0.1}},
        O{"CircleShrinkByR", CircleCase, Circle(5), 1, 5, 0, {5}},
        O{"CircleAnyNonZeroDirectionShrinks", CircleCase, Circle(5), -3, 1, 1, {4}},
        // A circle of radius 0 has lost its direction but can still be given a radius.
        O{"CircleOfZeroRadiusGrows", CircleCase, Circle(0), 0, 2.5, 1, {2.5}},
        O{"EllipseWidthAtTwiceD", EllipseCase, Ellipse(10, 4), 1, 2, 0, {10, 4, 0.4}},
        O{"EllipseLengthAtTwiceD", EllipseCase, Ellipse(3, 8), 1, 1.5, 0, {3, 8, 0.4}},
        O{"EllipseLengthJustAboveTwiceD", EllipseCase, Ellipse(3, 8), 1, 1.49, 1, {0.02, 5.02, 0.4}},
        O{"OBroundWidthAtTwiceD", OBroundCase, OBround(10, 4), 1, 2, 0, {10, 4, 0.5}},
        O{"OBroundLengthAtTwiceD", OBroundCase, OBround(3, 8), 1, 1.5, 0, {3, 8, 0.5}},
        // Only the width moves: the length stays although the shrink came close to it.
        O{"OBroundLengthJustAboveTwiceD", OBroundCase, OBround(3, 8), 1, 1.49, 1, {3, 5.02, 0.5}},
        O{"SingleDJustShortOfTheFlat", SingleDCase, SingleD(), 1, 2.999, 1, {2.001, 0.001, 1.1}},
        O{"SingleDToTheFlat", SingleDCase, SingleD(), 1, 3, 0, {5, 3, 1.1}},
        O{"DoubleDJustShortOfTheFlats", DoubleDCase, DoubleD(), 1, 2.999, 1, {2.001, 0.001, 1.1}},
        O{"DoubleDToTheFlats", DoubleDCase, DoubleD(), 1, 3, 0, {5, 3, 1.1}},
        O{"RadSlotGrowJustShortOfTheCentre", RadSlotCase, RadSlot(), 0, 7.9, 1, {10, 19.8, 0.3, 1}},
        O{"RadSlotGrowToTheCentre", RadSlotCase, RadSlot(), 0, 8, 0, {10, 4, 0.3, 1}},
        O{"RadSlotShrinkAlmostShut", RadSlotCase, RadSlot(), 1, 1.9, 1, {10, 0.2, 0.3, 1}},
        O{"RadSlotShrinkShut", RadSlotCase, RadSlot(), 1, 2, 0, {10, 4, 0.3, 1}},
        O{"RectHoleShrinkAlmostFlat", RectHoleCase, RectHole(), 1, 1.9, 1, {6.2, 0.2, 0}},
        O{"RectHoleShrinkWidthToZero", RectHoleCase, RectHole(), 1, 2, 0, {10, 4, 0}},
        O{"RectHoleAnyNonZeroDirectionShrinks", RectHoleCase, RectHole(), 7, 1, 1, {8, 2, 0}},
        O{"RCHoleShrinkWidthAway", RCHoleCase, RCHole(12, 6, 1), 1, 3, 0, {12, 6, 1, 0.7}},
        // r = 2 would scale to 1.6 > W/2 = 1: clamped; growing back from there keeps the clamped ratio.
        O{"RCHoleShrinkClampsTheCorner", RCHoleCase, RCHole(10, 4, 2), 1, 1, 1, {8, 2, 1, 0.7}},
        O{"RCHoleGrowFromAClampedCorner", RCHoleCase, RCHole(8, 2, 1), 0, 1, 1, {10, 4, 1.25, 0.7}},
        // Base 6, height 4: the inscribed radius is 1.5, so d = 1.5 stops a shrink although 2d < 6.
        O{"TRHoleShrinkToTheInscribedCentre", TRHoleCase, TRHole(4), 1, 1.5, 0, {6, 4, 0}},
        O{"TRHoleShrinkHalfTheBase", TRHoleCase, TRHole(4), 1, 3, 0, {6, 4, 0}},
        // A flat triangle has no inside to offset.
        O{"TRHoleFlatDoesNotGrow", TRHoleCase, TRHole(0), 0, 1, 0, {6, 0, 0}},
        O{"TRHoleFlatDoesNotShrink", TRHoleCase, TRHole(0), 1, 1, 0, {6, 0, 0}}),
    [](const ::testing::TestParamInfo<OffsetLimitCase>& info) { return info.param.name; });

}  // namespace
}  // namespace Norvane
