// A simple closed loop of lines and arcs reports DIR_CCW exactly when its signed area is positive, whichever
// node it starts at, whichever way each pattern is stored, in both senses of travel and after reversal.
#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

// The line from a to b (sweep 0) or the arc of that signed sweep, its pattern stored along (follow 1) or
// against the travel.
struct Edge {
    Point2D a, b;
    double sweep;
    int follow = 1;
};
using Contour = std::vector<Edge>;

std::string Literal(const Contour& contour) {
    std::ostringstream os;
    os.precision(17);
    for (const Edge& e : contour) {
        os << "{{" << e.a.x << ", " << e.a.y << "}, {" << e.b.x << ", " << e.b.y << "}, " << e.sweep << ", "
           << e.follow << "}, ";
    }
    return "Contour{" + os.str() + "}";
}

Point2D Centre(const Edge& e) {
    return MathEx::GetArcCenter(e.a.x, e.a.y, e.b.x, e.b.y, e.sweep);
}

// Worked out apart from the loop: shoelace over the chords plus each arc's segment r^2/2 (s - sin s).
double SignedArea(const Contour& contour) {
    double area = 0.0;
    for (const Edge& e : contour) {
        const double r = e.a.DistanceTo(Centre(e));
        area += 0.5 * (e.a.x * e.b.y - e.b.x * e.a.y) +
                (e.sweep != 0.0 ? r * r / 2 * (e.sweep - std::sin(e.sweep)) : 0);
    }
    return area;
}

double Cross(const Point2D& o, const Point2D& p, const Point2D& q) {
    return (p - o).CrossProduct(q - o);
}

// The loop reads its sense from chords of its arcs, which thin spikes, slivers and crescents can turn against
// the contour; CAD outlines have none, and neither do the contours this test keeps: at every vertex the two
// tangents stay 0.8 rad away from a reversal (more than a shallow arc's or a quarter of a wide arc's chord
// leans off its tangent), no two pieces cross, and edges that do not meet stay 0.05 apart.
bool WellFormed(const Contour& c) {
    const int n = static_cast<int>(c.size());
    // The contour as a polyline, 24 chords per arc, each point with the index of its edge.
    std::vector<std::pair<Point2D, int>> pts;
    for (int i = 0; i < n; ++i) {
        const Edge &in = c[i], &out = c[(i + 1) % n];
        const double turn = std::atan2(out.b.y - out.a.y, out.b.x - out.a.x) - out.sweep / 2 -
                            std::atan2(in.b.y - in.a.y, in.b.x - in.a.x) - in.sweep / 2;
        if (std::fabs(std::remainder(turn, 2 * kPi)) > kPi - 0.8) {
            return false;
        }
        const Point2D o = Centre(in);
        const double a0 = std::atan2(in.a.y - o.y, in.a.x - o.x), r = in.a.DistanceTo(o), s = in.sweep / 24;
        for (int k = 0; k < (in.sweep != 0.0 ? 24 : 1); ++k) {
            pts.push_back({k == 0 ? in.a : o + Vector2D(std::cos(a0 + k * s), std::sin(a0 + k * s)) * r, i});
        }
    }
    const std::size_t m = pts.size();
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t j = i + 2; j + (i == 0 ? 1 : 0) < m; ++j) {
            const Point2D &a = pts[i].first, &b = pts[(i + 1) % m].first;
            const Point2D &p = pts[j].first, &q = pts[(j + 1) % m].first;
            if (Cross(a, b, p) * Cross(a, b, q) <= 0 && Cross(p, q, a) * Cross(p, q, b) <= 0) {
                return false;
            }
            const int gap = std::abs(pts[i].second - pts[j].second);
            const double dist = std::min({Line2D(a, b).DistanceTo(p), Line2D(a, b).DistanceTo(q),
                                          Line2D(p, q).DistanceTo(a), Line2D(p, q).DistanceTo(b)});
            if (gap > 1 && gap < n - 1 && dist < 0.05) {
                return false;
            }
        }
    }
    return true;
}

// Vertices at sorted angles round the origin, on a circle (whose own, often wide, arcs make some edges) or at
// random radii. Some shapes get their 2 or 3 leftmost vertices pushed onto one vertical, so straight runs and
// ties pass through the least x.
Contour RandomContour(std::mt19937& rng) {
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); };
    const int n = std::uniform_int_distribution<>(2, 9)(rng),
              clamp = std::uniform_int_distribution<>(0, 2)(rng);
    const bool onCircle = clamp == 0 && uniform(0, 1) < 0.4;
    std::vector<double> ang(n);
    for (double& a : ang) a = uniform(0, 2 * kPi);
    std::sort(ang.begin(), ang.end());
    Contour c(n);
    for (int i = 0; i < n; ++i) {
        const double u = uniform(0, 1), sign = uniform(0, 1) < 0.5 ? 1 : -1;
        const double gap = (i + 1 < n ? ang[i + 1] : ang[0] + 2 * kPi) - ang[i];
        c[i].a = Point2D(std::cos(ang[i]), std::sin(ang[i])) * (onCircle ? 1.5 : uniform(0.5, 2));
        c[i].sweep = onCircle && u < 0.6 ? gap
                     : u < 0.4           ? 0.0
                                         : sign * (u < 0.75 ? uniform(0.05, 0.7) : uniform(1.6, 3.0));
    }
    std::vector<double> xs;
    for (const Edge& e : c) xs.push_back(e.a.x);
    std::sort(xs.begin(), xs.end());
    for (Edge& e : c) e.a.x = std::max(e.a.x, xs[std::min(clamp, n - 1)]);
    for (int i = 0; i < n; ++i) c[i].b = c[(i + 1) % n].a;
    return c;
}

PolyPatLoopPtr Build(const Contour& contour) {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (const Edge& e : contour) {
        const Edge p = e.follow != 0 ? e : Edge{e.b, e.a, -e.sweep};
        const Point2D c = Centre(p);
        IPatternPtr pattern = boost::make_shared<LinePattern>(p.a, p.b);
        if (p.sweep != 0.0) {
            pattern = boost::make_shared<ArcPattern>(c, c.DistanceTo(p.a), MathEx::GetAngle(c, p.a), p.sweep);
        }
        pattern->UpdateCache();
        loop->AppendPattern(pattern, e.follow);
    }
    return loop;
}

::testing::AssertionResult SenseMatchesArea(Contour c) {
    for (int sense = 0; sense < 2; ++sense) {
        const tagDirection expected = SignedArea(c) > 0 ? DIR_CCW : DIR_CW;
        const PolyPatLoopPtr loop = Build(c);
        const tagDirection found = loop->GetDirection();
        loop->ReverseDirection();
        if (found != expected || loop->GetDirection() == expected) {
            return ::testing::AssertionFailure() << "wrong sense, or unchanged by reversal: " << Literal(c);
        }
        std::reverse(c.begin(), c.end());
        for (Edge& e : c) e = {e.b, e.a, -e.sweep, e.follow};
    }
    return ::testing::AssertionSuccess();
}

// Hand-made rows: two control points only (two half circles; a lens of 60-degree arcs); a degenerate
// leftmost corner (0,0) where a straight diagonal run meets an arc; rounding that leaves the middle of a
// vertical side 1e-17 left of its ends, where the lower end must still be the corner read.
TEST(LoopDirection, DegenerateCorners) {
    EXPECT_TRUE(SenseMatchesArea({{{1, 0}, {-1, 0}, kPi, 0}, {{-1, 0}, {1, 0}, kPi}}));
    EXPECT_TRUE(SenseMatchesArea({{{0, 0}, {2, 0}, kPi / 3}, {{2, 0}, {0, 0}, kPi / 3, 0}}));
    EXPECT_TRUE(SenseMatchesArea({{{0, 0}, {2, 2}, kPi / 3}, {{2, 2}, {1, 1}, 0, 0}, {{1, 1}, {0, 0}, 0}}));
    EXPECT_TRUE(SenseMatchesArea(
        {{{0, 0}, {-1e-17, 0.5}, 0}, {{-1e-17, 0.5}, {0, 1}, 0}, {{0, 1}, {1, 1}, 0}, {{1, 1}, {0, 0}, 0}}));
}

TEST(LoopDirection, RandomSimpleContours) {
    std::mt19937 rng(20240611);
    int checked = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        Contour c = RandomContour(rng);
        if (std::fabs(SignedArea(c)) < 1e-3 || !WellFormed(c)) {
            continue;
        }
        std::rotate(c.begin(), c.begin() + rng() % c.size(), c.end());
        for (Edge& e : c) e.follow = static_cast<int>(rng() % 2);
        ASSERT_TRUE(SenseMatchesArea(c));
        ++checked;
    }
    EXPECT_GT(checked, 400);  // the generator must not lose most shapes to the filters
}

}  // namespace
}  // namespace Norvane
