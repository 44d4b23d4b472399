#include <cmath>
#include <random>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;

Geom2DList Square4() {
    Geom2DList g;
    g.push_back(boost::make_shared<Line2D>(Point2D(0, 0), Point2D(4, 0)));
    g.push_back(boost::make_shared<Line2D>(Point2D(4, 0), Point2D(4, 4)));
    g.push_back(boost::make_shared<Line2D>(Point2D(4, 4), Point2D(0, 4)));
    g.push_back(boost::make_shared<Line2D>(Point2D(0, 4), Point2D(0, 0)));
    return g;
}

TEST(Geom2DListTest, CrossClosestToCountsJointsAndCrossings) {
    Geom2DList g = Square4();
    g.push_back(
        boost::make_shared<Arc2D>(Point2D(2, 0), 1, 0, MathEx::PI));  // meets the bottom at (1,0), (3,0)
    const auto near = g.GetCrossClosestTo(Point2D(1.2, 0.3));
    ASSERT_TRUE(near);
    EXPECT_TRUE(PointNear(*near, Point2D(1, 0), 1e-12));
    const auto corner = g.GetCrossClosestTo(Point2D(3.9, 3.8));
    ASSERT_TRUE(corner);
    EXPECT_EQ(*corner, Point2D(4, 4));

    Geom2DList parallel;
    parallel.push_back(boost::make_shared<Line2D>(Point2D(0, 0), Point2D(4, 0)));
    parallel.push_back(boost::make_shared<Line2D>(Point2D(0, 1), Point2D(4, 1)));
    EXPECT_FALSE(parallel.GetCrossClosestTo(Point2D(0, 0)));
    EXPECT_FALSE(Geom2DList().GetCrossClosestTo(Point2D(0, 0)));
}

TEST(Geom2DListTest, CloseToRectLengthAndDeepClone) {
    Geom2DList g = Square4();
    EXPECT_EQ(g.GetLineArcsCloseTo(Point2D(2, 1), 1.0).size(), 1u);  // exactly 1 from the bottom only
    EXPECT_EQ(g.GetLineArcsCloseTo(Point2D(2, 1), 0.5).size(), 0u);
    EXPECT_EQ(g.GetLineArcsCloseTo(Point2D(0, 0), 0.0).size(), 2u);
    EXPECT_DOUBLE_EQ(g.GetTotalLength(), 16.0);

    Matrix2D move;
    move.Transfer(Vector2D(10, 10));
    const Geom2DListPtr copy = g.Clone();
    copy->Transform(move);
    EXPECT_EQ(g.GetRect(), Rect2D(0, 4, 0, 4));          // the original is untouched
    EXPECT_EQ(copy->GetRect(), Rect2D(10, 14, 10, 14));  // the box does not reach back to the origin
    EXPECT_EQ(Geom2DList().GetRect(), Rect2D());
}

TEST(Point2DListTest, LookupsAndTies) {
    const Point2DList pts{{2, 1}, {0, 3}, {0, -1}, {0, -1}, {5, 5}};
    EXPECT_EQ(pts.GetLeftPtIndex(), 2);  // least x, then least y, first of exact ties
    EXPECT_EQ(Point2DList().GetLeftPtIndex(), -1);
    EXPECT_EQ(pts.GetPtIndex(Point2D(0, 3 + 0.5e-6)), 1);  // default tolerance 1e-6
    EXPECT_EQ(pts.GetPtIndex(Point2D(0, 3 + 2e-6)), -1);
    EXPECT_EQ(pts.IsExist(Point2D(5.25, 5), 0.25), 1);
    EXPECT_EQ(pts.GetPtClosestTo(Point2D(1, 2)), Point2D(2, 1));  // (2,1) and (0,3) equally near: the first
    EXPECT_EQ(Point2DList().GetPtClosestTo(Point2D(1, 2)), Point2D());

    IntegerList ids;
    ids.AddInt(7);
    ids.AddInt(1LL << 40);
    EXPECT_EQ(ids.Include(1LL << 40), 1);
    EXPECT_EQ(ids.Include(8), 0);
}

// Seeded random degenerate elements: zero lengths, zero radii, zero and full sweeps, coincident and huge
// coordinates. No query may produce NaN or infinity. A failure prints both elements as literals.
TEST(KernelFuzzTest, DegenerateInputNeverProducesNaN) {
    std::mt19937 rng(7771);
    const double coords[] = {0.0, 1.0, -1.0, 1e-12, 1e-9, 3.5, 1e6};
    const double angles[] = {0.0, MathEx::PI, -MathEx::PI, MathEx::PI2, -MathEx::PI2, 1e-12, 0.5};
    std::uniform_int_distribution<int> pick(0, 6);
    auto coord = [&] { return coords[pick(rng)] * (pick(rng) % 2 ? 1 : -1); };
    auto make = [&]() -> IGeom2DPtr {
        if (pick(rng) % 2) {
            const Point2D s(coord(), coord());
            const Point2D e = pick(rng) < 3 ? s : Point2D(coord(), coord());
            return boost::make_shared<Line2D>(s, e);
        }
        return boost::make_shared<Arc2D>(Point2D(coord(), coord()), std::fabs(coord()), angles[pick(rng)],
                                         angles[pick(rng)]);
    };
    auto finite = [](const Point2D& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (int i = 0; i < 2000; ++i) {
        const IGeom2DPtr a = make();
        const IGeom2DPtr b = make();
        const Point2D probe(coord(), coord());
        Geom2DList both;
        both.push_back(a);
        both.push_back(b);
        const auto cross = both.GetCrossClosestTo(probe);
        const std::string what =
            testutil::Literal(a->GetStartPoint()) + " " + testutil::Literal(a->GetEndPoint()) + " / " +
            testutil::Literal(b->GetStartPoint()) + " " + testutil::Literal(b->GetEndPoint());
        if (cross) {
            ASSERT_TRUE(finite(*cross)) << what;
        }
        ASSERT_TRUE(std::isfinite(a->GetPercentOfPoint(probe, 1e-9))) << what;
        ASSERT_TRUE(std::isfinite(a->DistanceTo(probe))) << what;
        ASSERT_TRUE(finite(a->GetClosestPt(probe))) << what;
        if (a->GetGeomType() == GeomType::Arc) {
            Arc2D merged = *boost::static_pointer_cast<Arc2D>(a);
            if (b->GetGeomType() == GeomType::Arc) {
                merged.MergeWith(*boost::static_pointer_cast<Arc2D>(b));
            }
            ASSERT_TRUE(std::isfinite(merged.GetSweepAngle()) && std::isfinite(merged.GetBaseAngle()))
                << what;
        } else if (b->GetGeomType() == GeomType::Line) {
            Line2D merged = *boost::static_pointer_cast<Line2D>(a);
            merged.MergeWith(*boost::static_pointer_cast<Line2D>(b), 1e-9);
            ASSERT_TRUE(finite(merged.GetEndPoint())) << what;
        }
    }
}

}  // namespace
}  // namespace Norvane
