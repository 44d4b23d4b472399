#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Poly2DList.h"
#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/PolygonBuilder.h"
#include "tests/support/GeomChainBuilder.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using namespace testutil;

constexpr double kPi = MathEx::PI;
// Chord tolerance of the loop nesting computation, the main caller of the enclosure test.
constexpr double kTol = 0.0052;

Polygon2D Poly(std::vector<Point2D> pts) {
    return Polygon2D(std::move(pts));
}

Polygon2D Build(const Geom2DListPtr& geoms, double tol = kTol) {
    return *PolygonBuilder::BuildPolyFromLineArc(geoms, tol, 0);
}

// Rotation about the origin then a shift: moves every boundary case off the axes.
Matrix2D Skew() {
    Matrix2D m;
    m.Rotate(0.7);
    m.Transfer(Vector2D(3.25, -1.5));
    return m;
}

// --- signed area -------------------------------------------------------------------------------------------

struct AreaCase {
    std::string name;
    std::vector<Point2D> pts;
    double area;  // worked out by hand for the order given

    friend void PrintTo(const AreaCase& c, std::ostream* os) { *os << c.name; }
};

class PolygonAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(PolygonAreaTest, SignFollowsTheSenseAndReversingNegates) {
    Polygon2D p = Poly(GetParam().pts);
    EXPECT_NEAR(p.GetArea(), GetParam().area, 1e-12);
    p.Reverse();
    EXPECT_NEAR(p.GetArea(), -GetParam().area, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PolygonAreaTest,
    ::testing::Values(AreaCase{"SquareCcw", {{0, 0}, {2, 0}, {2, 2}, {0, 2}}, 4.0},
                      AreaCase{"ConcaveL", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 3.0},
                      AreaCase{"ClosingVertexRepeated", {{0, 0}, {1, 0}, {0, 1}, {0, 0}}, 0.5},
                      AreaCase{"TwoPointsHaveNoArea", {{0, 0}, {1, 1}}, 0.0}),
    [](const auto& info) { return info.param.name; });

TEST(PolygonBuilderTest, CircleAreaSignAndFlagMakesCounterClockwise) {
    // Chords lie inside the circle, so the polygon loses at most perimeter × tol of the disc.
    const double r = 5;
    const double disc = kPi * r * r;
    const double ccw = Build(Circle2(1, 1, r, true)).GetArea();
    EXPECT_LT(ccw, disc);
    EXPECT_GT(ccw, disc - 2 * kPi * r * kTol);
    EXPECT_DOUBLE_EQ(Build(Circle2(1, 1, r, false)).GetArea(), -ccw);
    EXPECT_DOUBLE_EQ(PolygonBuilder::BuildPolyFromLineArc(Circle2(1, 1, r, false), kTol, 1)->GetArea(), ccw);
}

// --- chord approximation -------------------------------------------------------------------------------

struct ChordCase {
    std::string name;
    double r, base, sweep, tol;
    int chords;  // ceil(|sweep| / (2 acos(1 − tol/r))), at least 1

    friend void PrintTo(const ChordCase& c, std::ostream* os) { *os << c.name; }
};

class ArcChordTest : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ArcChordTest, VerticesOnTheArcAndEveryChordWithinTolerance) {
    const ChordCase& c = GetParam();
    const Point2D centre(2, -1);
    const auto arc = ArcOf(centre.x, centre.y, c.r, c.base, c.sweep);
    for (bool reversed : {false, true}) {
        auto geom = arc->Clone();
        if (reversed) {
            geom->Reverse();
        }
        const Polygon2D p = Build(ListOf({geom}), c.tol);
        SCOPED_TRACE(reversed ? "reversed" : "forward");
        ASSERT_EQ(p.size(), static_cast<std::size_t>(c.chords + 1));
        EXPECT_TRUE(PointNear(p.pts.front(), geom->GetStartPoint()));
        EXPECT_TRUE(PointNear(p.pts.back(), geom->GetEndPoint()));
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            EXPECT_NEAR(p.pts[i].DistanceTo(centre), c.r, 1e-9);
            const Point2D mid = (p.pts[i] + p.pts[i + 1]) / 2;
            EXPECT_LE(c.r - mid.DistanceTo(centre), c.tol) << "chord " << i;
        }
    }
    // One chord fewer would break the tolerance: the count is the least that keeps it.
    if (c.chords > 1) {
        EXPECT_GT(c.r * (1 - std::cos(std::fabs(c.sweep) / (2 * (c.chords - 1)))), c.tol);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArcChordTest,
    ::testing::Values(ChordCase{"QuarterCcw", 10, 0.3, kPi / 2, 0.01, 18},
                      ChordCase{"HalfCw", 10, 1.0, -kPi, 0.0052, 49},
                      ChordCase{"ThreeQuartersSmallTol", 100, -2.0, 1.5 * kPi, 1e-4, 1667},
                      ChordCase{"TinySweepIsOneChord", 100, 0.0, 5e-10, 0.01, 1},
                      ChordCase{"RadiusBelowHalfTolIsOneChord", 0.004, 0.0, kPi, 0.01, 1},
                      ChordCase{"RadiusEqualToTol", 0.01, 0.0, 1.01 * kPi, 0.01, 2}),
    [](const auto& info) { return info.param.name; });

// --- enclosure -----------------------------------------------------------------------------------------

struct IncludeCase {
    std::string name;
    Geom2DListPtr a, b;
    int aEnclosesB, bEnclosesA;

    friend void PrintTo(const IncludeCase& c, std::ostream* os) { *os << c.name; }
};

class IncludePolygonTest : public ::testing::TestWithParam<IncludeCase> {};

TEST_P(IncludePolygonTest, BothDirectionsAlsoAfterARigidMotion) {
    const IncludeCase& c = GetParam();
    for (bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "moved" : "as given");
        auto a = c.a->Clone();
        auto b = c.b->Clone();
        if (moved) {
            a->Transform(Skew());
            b->Transform(Skew());
        }
        const Polygon2D pa = Build(a);
        const Polygon2D pb = Build(b);
        EXPECT_EQ(pa.IncludePolygon(pb), c.aEnclosesB);
        EXPECT_EQ(pb.IncludePolygon(pa), c.bEnclosesA);
    }
}

Geom2DListPtr SquareOnCircle(double angle, double reach) {
    // A small square whose far corner lies `reach` beyond the circle of radius 10 about the origin, at
    // `angle` (between chord vertices, where the chords of the circle pass inside it).
    const Point2D tip(std::cos(angle) * (10 + reach), std::sin(angle) * (10 + reach));
    const Vector2D u(std::cos(angle), std::sin(angle));
    const Vector2D v = u.Orthogonal();
    const Point2D p1 = tip - u * 2;
    return Polyline({p1 - v, tip - v * 0.0, p1 + v, p1 - u * 1.5});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IncludePolygonTest,
    ::testing::Values(
        IncludeCase{"CircleOfTwoArcsTouchingAllSidesOfSquare", Rect(0, 0, 10, 10), Circle2(5, 5, 5), 1, 0},
        IncludeCase{"HoleTouchingOuterBoundary", Rect(0, 0, 10, 10), Rect(0, 3, 4, 6), 1, 0},
        IncludeCase{"HalfSharingThreeSidesFromInside", Rect(0, 0, 10, 10), Rect(0, 0, 5, 10), 1, 0},
        IncludeCase{"EqualOutlinesEncloseEachOther", Rect(0, 0, 10, 10), Rect(0, 0, 10, 10), 1, 1},
        IncludeCase{"SharedEdgeFromOutside", Rect(0, 0, 10, 10), Rect(10, 2, 14, 8), 0, 0},
        IncludeCase{"Overlapping", Rect(0, 0, 10, 10), Rect(5, 5, 15, 15), 0, 0},
        IncludeCase{"Disjoint", Rect(0, 0, 10, 10), Rect(20, 0, 30, 10), 0, 0},
        IncludeCase{"CornerOnArcBetweenChordVertices", Circle2(0, 0, 10), SquareOnCircle(0.3, 0.0), 1, 0},
        IncludeCase{"CornerBeyondArcByTwiceTheSlack", Circle2(0, 0, 10), SquareOnCircle(0.3, 0.021), 0, 0},
        IncludeCase{"BridgeOverNotchWithAllCornersInside",
                    Polyline({{0, 0}, {10, 0}, {10, 10}, {7, 10}, {7, 3}, {3, 3}, {3, 10}, {0, 10}}),
                    Rect(1, 5, 9, 8), 0, 0},
        // The slit is narrower than the slack, so the rectangle's edges pass as touching it, but it runs deep
        // into the rectangle: boundaries that cross by more than the slack are not an enclosure.
        IncludeCase{
            "NarrowSlitRunningDeepInside",
            Polyline({{0, 0}, {10, 0}, {10, 10}, {5.001, 10}, {5.001, 2}, {4.999, 2}, {4.999, 10}, {0, 10}}),
            Rect(1, 1, 9, 9), 0, 0}),
    [](const auto& info) { return info.param.name; });

TEST(PolygonIncludeTest, ExactPolygonsForgiveOnlyRoundOff) {
    // Built directly, without arcs: the only slack is kGeomEqualTol.
    const Polygon2D outer = Poly({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(outer.IncludePolygon(Poly({{2, 2}, {10 + 0.5e-9, 2}, {2, 8}})), 1);
    EXPECT_EQ(outer.IncludePolygon(Poly({{2, 2}, {10 + 1e-6, 2}, {2, 8}})), 0);
    // Orientation of either polygon does not matter.
    EXPECT_EQ(outer.IncludePolygon(Poly({{2, 2}, {2, 8}, {8, 2}})), 1);
    // Degenerate polygons take part in no enclosure.
    EXPECT_EQ(outer.IncludePolygon(Poly({{2, 2}, {8, 8}})), 0);
    EXPECT_EQ(Poly({{2, 2}, {8, 8}}).IncludePolygon(outer), 0);
}

TEST(PolygonIncludeTest, PointOnBoundaryIsInside) {
    const Polygon2D cw = Poly({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    EXPECT_EQ(cw.IsPointInside(Point2D(5, 5)), 1);
    EXPECT_EQ(cw.IsPointInside(Point2D(10, 4)), 1);   // on an edge
    EXPECT_EQ(cw.IsPointInside(Point2D(10, 10)), 1);  // on a vertex
    EXPECT_EQ(cw.IsPointInside(Point2D(10 + 1e-9, 4)), 0);
    EXPECT_EQ(Poly({{0, 0}, {5, 5}}).IsPointInside(Point2D(1, 1)), 0);
}

// --- self crossings ------------------------------------------------------------------------------------

struct CrossCase {
    std::string name;
    std::vector<Point2D> pts;
    int crossings;

    friend void PrintTo(const CrossCase& c, std::ostream* os) { *os << c.name; }
};

class SelfCrossTest : public ::testing::TestWithParam<CrossCase> {};

TEST_P(SelfCrossTest, DistinctMeetingPoints) {
    Polygon2D p = Poly(GetParam().pts);
    EXPECT_EQ(p.GetSelfCrossNum(), GetParam().crossings);
    for (Point2D& q : p.pts) {
        q *= Skew();
    }
    EXPECT_EQ(p.GetSelfCrossNum(), GetParam().crossings) << "after a rigid motion";
}

std::vector<Point2D> Pentagram() {
    std::vector<Point2D> pts;
    for (int k = 0; k < 5; ++k) {
        const double a = kPi / 2 + k * 4 * kPi / 5;
        pts.emplace_back(std::cos(a), std::sin(a));
    }
    return pts;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelfCrossTest,
    ::testing::Values(CrossCase{"SimpleSquare", {{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 0},
                      CrossCase{"ConcaveSimple", {{0, 0}, {4, 0}, {4, 4}, {2, 1}, {0, 4}}, 0},
                      CrossCase{"FigureEight", {{0, 0}, {2, 2}, {2, 0}, {0, 2}}, 1},
                      CrossCase{"Pentagram", Pentagram(), 5},
                      CrossCase{"PinchedAtOneVertex", {{0, 0}, {2, 0}, {4, -1}, {4, 1}, {2, 0}, {0, 1}}, 1},
                      CrossCase{
                          "SpikeDoublingBack", {{0, 0}, {4, 0}, {4, 4}, {2, 4}, {2, 6}, {2, 4}, {0, 4}}, 1},
                      CrossCase{"VertexTouchingAnotherEdge", {{0, 0}, {4, 0}, {4, 4}, {2, 0}, {0, 4}}, 1}),
    [](const auto& info) { return info.param.name; });

TEST(PolygonBuilderTest, SimpleLoopWithArcsHasNoSelfCrossing) {
    // Square with a round end: many chord vertices, still simple.
    const auto slot =
        ListOf({Seg(0, 0, 4, 0), ArcOf(4, 2, 2, -kPi / 2, kPi), Seg(4, 4, 0, 4), Seg(0, 4, 0, 0)});
    EXPECT_EQ(Build(slot, 1e-4).GetSelfCrossNum(), 0);
}

// --- chains --------------------------------------------------------------------------------------------

TEST(PolygonBuilderTest, ListIsCutIntoClosedChains) {
    // A square whose second and fourth sides run backwards, a full circle, then an open tail of two lines.
    auto geoms = ListOf({Seg(0, 0, 4, 0), Seg(4, 4, 4, 0), Seg(4, 4, 0, 4), Seg(0, 0, 0, 4),
                         ArcOf(10, 10, 1, 0.5, 2 * kPi), Seg(20, 0, 21, 0), Seg(21, 0, 21, 1)});
    const Poly2DList polys = PolygonBuilder::BuildPolyListFromLineArc(geoms, kTol);
    ASSERT_EQ(polys.size(), 3u);
    EXPECT_EQ(polys[0]->size(), 4u);  // closing vertex not repeated
    EXPECT_NEAR(polys[0]->GetArea(), 16.0, 1e-12);
    EXPECT_NEAR(polys[1]->GetArea(), kPi, 0.05);
    EXPECT_EQ(polys[2]->size(), 3u);  // what the open tail has
    EXPECT_NEAR(polys[2]->GetArea(), 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(polys[0]->GetApproxTol(), kTol);

    EXPECT_EQ(PolygonBuilder::BuildPolyListFromLineArc(Rect(0, 0, 1, 1), kTol).size(), 1u);
    EXPECT_TRUE(PolygonBuilder::BuildPolyListFromLineArc(nullptr, kTol).empty());
    EXPECT_FALSE(PolygonBuilder::BuildPolyFromLineArc(ListOf({}), kTol, 0));
}

TEST(PolygonBuilderTest, HullOfLinesAndArcIsCounterClockwiseAndCoversEveryVertex) {
    // An L of lines closed by a quarter arc bulging out: the hull keeps the arc and bridges the notch.
    auto geoms = ListOf({Seg(0, 0, 4, 0), Seg(4, 0, 4, 1), Seg(4, 1, 1, 1), Seg(1, 1, 1, 4), Seg(1, 4, 0, 4),
                         ArcOf(0, 0, 4, kPi / 2, kPi / 2)});
    const auto hull = PolygonBuilder::BuildHullFromLineArc(geoms, kTol);
    ASSERT_TRUE(hull);
    EXPECT_GT(hull->GetArea(), 0);
    const Polygon2D shape = Build(geoms);
    EXPECT_EQ(hull->IncludePolygon(shape), 1);
    // Exact hull: the quarter disc of radius 4 left of the y axis (4π) and the L's box without the corner
    // triangle (4,1)-(4,4)-(1,4) (16 − 4.5). The chords of the arc may cut off up to arc length × tol.
    EXPECT_LE(hull->GetArea(), 4 * kPi + 11.5);
    EXPECT_GT(hull->GetArea(), 4 * kPi + 11.5 - 2 * kPi * kTol);
    EXPECT_EQ(PolygonBuilder::BuildHullFromLineArc(ListOf({Seg(0, 0, 1, 1), Seg(2, 2, 3, 3)}), kTol)->size(),
              2u);
}

}  // namespace
}  // namespace Norvane
