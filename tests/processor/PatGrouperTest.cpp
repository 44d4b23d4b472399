// Shape recognition at its edges: what each recogniser refuses, the values it gives, the circle cases of
// GroupPat, and what grouping does to the two lists.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/PatGrouper.h"
#include "tests/processor/GroupingSupport.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::Arc;
using testutil::Line;
using testutil::Pieces;

constexpr double kPi = MathEx::PI;

struct ChainCase {
    const char* name;
    std::vector<IPatternPtr> pieces;  // in chain order
    int expectedType;                 // 0: the loop is left as it was
    bool open = false;                // every other chain closes, so only the recognisers refuse it
};

void PrintTo(const ChainCase& c, std::ostream* os) {
    *os << c.name;
}

class GroupPatChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(GroupPatChain, RecognisesOrLeavesTheLoop) {
    testutil::Part part = testutil::PartOf(Pieces(GetParam().pieces));
    EXPECT_EQ(part.loops->front()->IsOpenPath(1e-4), GetParam().open ? 1 : 0);
    PatGrouper::GroupPat(part.patterns, part.loops);
    if (GetParam().expectedType == 0) {
        EXPECT_EQ(part.patterns->size(), GetParam().pieces.size());
        EXPECT_EQ(part.loops->front()->GetLoopType(), LOOP_POLY);
    } else {
        ASSERT_EQ(part.patterns->size(), 1u);
        EXPECT_EQ(part.patterns->front()->GetPatternType(), GetParam().expectedType);
    }
}

// Half the angle that a flat at distance 3 cuts out of a circle of radius 5.
const double kFlatHalf = std::atan2(3, 4);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boundaries, GroupPatChain, ::testing::Values(
    ChainCase{"FullArc", {Arc(1, 2, 5, 0.3, 2 * kPi)}, PAT_CIRCLE},
    // 3e-9 short of a full turn: the loop still closes (the gap is 1.5e-8) but the sweep test fails.
    ChainCase{"ArcShortOfAFullTurn", {Arc(1, 2, 5, 0.3, 2 * kPi - 3e-9)}, 0},
    ChainCase{"OpenArc", {Arc(1, 2, 5, 0.3, 1.9 * kPi)}, 0, true},
    // The second half circle is centred 1e-4 (then 2e-4) to the left, with a radius that still closes the
    // loop at the first arc's start.
    ChainCase{"HalvesCentresAtTheTolerance", {Arc(0, 0, 5, 0, kPi), Arc(-0.0001, 0, 5.0001, kPi, kPi)}, PAT_CIRCLE},
    ChainCase{"HalvesCentresBeyondTheTolerance", {Arc(0, 0, 5, 0, kPi), Arc(-0.0002, 0, 5.0002, kPi, kPi)}, 0},
    // Four quarter arcs on one centre are no radius slot (whose ends lie on other centres) but a circle.
    ChainCase{"FourQuarters", {Arc(3, 3, 2, 0, kPi / 2), Arc(3, 3, 2, kPi / 2, kPi / 2), Arc(3, 3, 2, kPi, kPi / 2),
                               Arc(3, 3, 2, 1.5 * kPi, kPi / 2)}, PAT_CIRCLE},
    ChainCase{"Rectangle", {Line(0, 0, 4, 0), Line(4, 0, 4, 2), Line(4, 2, 0, 2), Line(0, 2, 0, 0)}, PAT_RECT_HOLE},
    ChainCase{"Parallelogram", {Line(0, 0, 4, 0), Line(4, 0, 5, 2), Line(5, 2, 1, 2), Line(1, 2, 0, 0)}, 0},
    ChainCase{"ScaleneTriangle", {Line(0, 0, 4, 0), Line(4, 0, 1, 3), Line(1, 3, 0, 0)}, 0},
    // The minor arc under a flat: its middle lies 2 from the flat's middle, nearer than the radius 5.
    ChainCase{"SingleDFlatBeyondTheCentre", {Line(4, -3, -4, -3), Arc(0, 0, 5, kFlatHalf - kPi, kPi - 2 * kFlatHalf)}, 0},
    // The flat 3 below the centre of the major arc: a single-D.
    ChainCase{"SingleD", {Line(-4, -3, 4, -3), Arc(0, 0, 5, -kFlatHalf, kPi + 2 * kFlatHalf)}, PAT_SINGLE_D},
    // Obround ends must run clockwise (sweep -pi); counter-clockwise ends on two centres are neither an
    // obround nor a double-D.
    ChainCase{"ObroundEndsCounterClockwise", {Arc(0, 0, 1, kPi / 2, kPi), Line(0, -1, 5, -1),
                                              Arc(5, 0, 1, -kPi / 2, kPi), Line(5, 1, 0, 1)}, 0},
    ChainCase{"ObroundEndsClockwise", {Arc(0, 0, 1, -kPi / 2, -kPi), Line(0, 1, 5, 1), Arc(5, 0, 1, kPi / 2, -kPi),
                                       Line(5, -1, 0, -1)}, PAT_OBROUND}),
    [](const ::testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });
// clang-format on

// Straight sides of 10 and 4 between corner arcs of radius 1: 12 by 6, turned along the longer sides.
TEST(PatGrouper, RoundedRectangleTakesItsLengthAlongTheLongerSides) {
    const auto side = [](const IPatternPtr& p) { return boost::dynamic_pointer_cast<LinePattern>(p); };
    const auto corner = [](const IPatternPtr& p) { return boost::dynamic_pointer_cast<ArcPattern>(p); };
    // Counter-clockwise from the bottom side; corner centres at (+-5, +-2).
    const auto shape = boost::dynamic_pointer_cast<RCHolePattern>(PatGrouper::GroupRCHole(
        side(Line(-5, -3, 5, -3)), corner(Arc(5, -2, 1, -kPi / 2, kPi / 2)), side(Line(6, -2, 6, 2)),
        corner(Arc(5, 2, 1, 0, kPi / 2)), side(Line(5, 3, -5, 3)), corner(Arc(-5, 2, 1, kPi / 2, kPi / 2)),
        side(Line(-6, 2, -6, -2)), corner(Arc(-5, -2, 1, kPi, kPi / 2))));
    ASSERT_TRUE(shape);
    EXPECT_NEAR(shape->GetLength(), 12, 1e-12);
    EXPECT_NEAR(shape->GetWidth(), 6, 1e-12);
    EXPECT_NEAR(shape->GetArcRadius(), 1, 1e-12);
    EXPECT_NEAR(std::fabs(std::sin(shape->GetAngle())), 0, 1e-12);
    EXPECT_TRUE(testutil::BoxNear(shape->GetCacheData()->GetRect(), Rect2D(-6, 6, -3, 3), 1e-12));
}

struct TriangleCase {
    const char* name;
    std::vector<Point2D> corners;  // chain corners; line i runs from corner i to corner i+1
    int baseLine;                  // index of the line that must become the base
};

void PrintTo(const TriangleCase& c, std::ostream* os) {
    *os << c.name;
}

class GroupTriangleBase : public ::testing::TestWithParam<TriangleCase> {};

// The base is the line that is not one of the equal pair (l3 when all are equal); whatever the chain's
// sense, the triangle covers the three lines.
TEST_P(GroupTriangleBase, BaseIsTheOddSide) {
    const auto& k = GetParam().corners;
    std::vector<LinePatternPtr> lines;
    Geom2DList drawn;
    for (std::size_t i = 0; i < 3; ++i) {
        lines.push_back(boost::make_shared<LinePattern>(k[i], k[(i + 1) % 3]));
        drawn.push_back(boost::make_shared<Line2D>(k[i], k[(i + 1) % 3]));
    }
    const auto shape =
        boost::dynamic_pointer_cast<TRHolePattern>(PatGrouper::GroupTriangle(lines[0], lines[1], lines[2]));
    ASSERT_TRUE(shape);
    const LinePatternPtr& base = lines[static_cast<std::size_t>(GetParam().baseLine)];
    EXPECT_TRUE(
        testutil::PointNear(shape->GetBasePoint(), (base->GetStartPoint() + base->GetEndPoint()) * 0.5));
    EXPECT_TRUE(testutil::SameCurve(testutil::Outline(shape), drawn, 1e-12));
}

INSTANTIATE_TEST_SUITE_P(
    Bases, GroupTriangleBase,
    ::testing::Values(TriangleCase{"FirstTwoEqual", {Point2D(0, 0), Point2D(2, 5), Point2D(4, 0)}, 2},
                      TriangleCase{"FirstAndLastEqual", {Point2D(2, 5), Point2D(4, 0), Point2D(0, 0)}, 1},
                      TriangleCase{"LastTwoEqual", {Point2D(4, 0), Point2D(0, 0), Point2D(2, 5)}, 0},
                      TriangleCase{
                          "Equilateral", {Point2D(0, 0), Point2D(4, 0), Point2D(2, 2 * std::sqrt(3.0))}, 2},
                      // The rows above run clockwise (apex on the right of the base's direction) except
                      // the equilateral one; this one runs counter-clockwise.
                      TriangleCase{"CounterClockwise", {Point2D(4, 0), Point2D(2, 5), Point2D(0, 0)}, 2}),
    [](const ::testing::TestParamInfo<TriangleCase>& info) { return std::string(info.param.name); });

// A grouped loop loses its place: the last loop moves into it, and the new standard loop comes last. The
// open loops and their patterns are not touched.
TEST(PatGrouper, GroupedLoopLeavesItsPlaceToTheLastLoop) {
    testutil::Part part;
    part.AddChain(Pieces({Line(0, 0, 4, 0), Line(4, 0, 4, 2), Line(4, 2, 0, 2), Line(0, 2, 0, 0)}));
    part.AddChain(Pieces({Line(10, 0, 11, 0)}));
    part.AddChain(Pieces({Line(20, 0, 21, 0), Line(21, 0, 21, 1)}));
    const IPatLoopPtr open1 = (*part.loops)[1];
    const IPatLoopPtr open2 = (*part.loops)[2];

    PatGrouper::GroupPat(part.patterns, part.loops);

    ASSERT_EQ(part.loops->size(), 3u);
    EXPECT_EQ((*part.loops)[0], open2);
    EXPECT_EQ((*part.loops)[1], open1);
    EXPECT_EQ((*part.loops)[2]->GetLoopType(), LOOP_STD);
    ASSERT_EQ(part.patterns->size(), 4u);  // three open pieces, then the rectangle
    EXPECT_EQ(part.patterns->back()->GetPatternType(), PAT_RECT_HOLE);
}

}  // namespace
}  // namespace Norvane
