// Line patterns: distance to the closed segment, duplicate detection at the Manhattan boundary, end-point
// dragging, merging and property edits.
#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternPropID.h"

namespace Norvane {
namespace {

LinePatternPtr Line(double x1, double y1, double x2, double y2) {
    return boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
}

struct DistanceCase {
    const char* name;
    Point2D start, end, query;
    double expected;
};

class LineDistance : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(LineDistance, MeasuresToClosedSegment) {
    const DistanceCase& c = GetParam();
    const auto line = boost::make_shared<LinePattern>(c.start, c.end);
    EXPECT_DOUBLE_EQ(line->DistanceTo(c.query), c.expected);
    // Reversing the line must not change any distance.
    EXPECT_DOUBLE_EQ(LinePattern(c.end, c.start).DistanceTo(c.query), c.expected);
}

INSTANTIATE_TEST_SUITE_P(LinePattern, LineDistance,
                         ::testing::Values(DistanceCase{"beforeStart", {0, 0}, {10, 0}, {-3, 4}, 5.0},
                                           DistanceCase{"abeam", {0, 0}, {10, 0}, {5, 4}, 4.0},
                                           DistanceCase{"pastEnd", {0, 0}, {10, 0}, {13, 4}, 5.0},
                                           DistanceCase{"abeamOfStart", {0, 0}, {10, 0}, {0, -2}, 2.0},
                                           DistanceCase{"onSegment", {0, 0}, {10, 0}, {7, 0}, 0.0},
                                           DistanceCase{"zeroLength", {1, 1}, {1, 1}, {4, 5}, 5.0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DuplicateCase {
    const char* name;
    Point2D start, end;
    int expected;
};

class LineDuplicate : public ::testing::TestWithParam<DuplicateCase> {};

// Against the line (0,0)-(10,0), and against the same line drawn backwards (which exercises the
// start-to-end / end-to-start pairing). The offset rows move only the other line's start: by 0.00005 in
// x and in y the Manhattan distance is exactly 0.0001, and the strict comparison makes that NOT a
// duplicate. (The other line's end is computed as start + vector and so is only nearly (10, 0).)
TEST_P(LineDuplicate, ComparesEndsByManhattanDistance) {
    const DuplicateCase& c = GetParam();
    const auto other = boost::make_shared<LinePattern>(c.start, c.end);
    for (const auto& base : {Line(0, 0, 10, 0), Line(10, 0, 0, 0)}) {
        EXPECT_EQ(base->IsDuplicate(other), c.expected) << base->GetStartPoint().x;
        EXPECT_EQ(other->IsDuplicate(base), c.expected) << base->GetStartPoint().x;
    }
}

INSTANTIATE_TEST_SUITE_P(LinePattern, LineDuplicate,
                         ::testing::Values(DuplicateCase{"same", {0, 0}, {10, 0}, 1},
                                           DuplicateCase{
                                               "sumExactlyTolerance", {0.00005, 0.00005}, {10, 0}, 0},
                                           DuplicateCase{"sumBelowTolerance", {0.00004, 0.00005}, {10, 0}, 1},
                                           DuplicateCase{"sharesOneEndOnly", {0, 0}, {10, 1}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinePattern, DraggingAnEndKeepsTheOther) {
    auto line = Line(0, 0, 10, 0);
    line->SetStartPoint(Point2D(2, 3));
    EXPECT_EQ(line->GetStartPoint(), Point2D(2, 3));
    EXPECT_EQ(line->GetEndPoint(), Point2D(10, 0));
    line->SetEndPoint(Point2D(2, 7));
    EXPECT_EQ(line->GetStartPoint(), Point2D(2, 3));
    EXPECT_EQ(line->GetBaseVector(), Vector2D(0, 4));
}

TEST(LinePattern, MergeTakesOverTheUnionOnlyWhenCollinearAndTouching) {
    auto line = Line(0, 0, 5, 0);
    EXPECT_EQ(line->MergeWith(Line(3, 0, 8, 0), 1e-6), 1);
    EXPECT_EQ(line->GetStartPoint(), Point2D(0, 0));
    EXPECT_EQ(line->GetEndPoint(), Point2D(8, 0));

    // The kernel's merge decides (see Line2DTest); a refused merge leaves the line as it was.
    EXPECT_EQ(line->MergeWith(Line(9, 0, 12, 0), 1e-6), 0);
    EXPECT_EQ(line->GetEndPoint(), Point2D(8, 0));
}

// The truncated factor, not 180/pi: 90 degrees shows as (pi/2) * 57.29577951308. (The list: PatternCoreTest.)
TEST(LinePattern, AngleShownWithTheTruncatedFactor) {
    const DataProperty prop = Line(1, 1, 1, 3)->GetProperty();
    EXPECT_EQ(prop.GetItemByName(kPropLineAngle)->GetDouble(), std::atan2(2.0, 0.0) * 57.29577951308);
}

struct LineEditCase {
    const char* name;
    int item;
    double value;
    Point2D start, end;
};

class LineEdit : public ::testing::TestWithParam<LineEditCase> {};

// Edits of the line (0,0)-(4,0).
TEST_P(LineEdit, AppliesOneValue) {
    const LineEditCase& c = GetParam();
    auto line = Line(0, 0, 4, 0);
    DataPropItem item(kPropGroupValues, c.item, c.value);
    line->UpdateProperty(item);
    EXPECT_NEAR(line->GetStartPoint().x, c.start.x, 1e-12);
    EXPECT_NEAR(line->GetStartPoint().y, c.start.y, 1e-12);
    EXPECT_NEAR(line->GetEndPoint().x, c.end.x, 1e-12);
    EXPECT_NEAR(line->GetEndPoint().y, c.end.y, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    LinePattern, LineEdit,
    ::testing::Values(
        LineEditCase{"startXMovesWholeLine", kPropLineStartX, 2, {2, 0}, {6, 0}},
        LineEditCase{"startYMovesWholeLine", kPropLineStartY, -1, {0, -1}, {4, -1}},
        LineEditCase{"endXMovesEndOnly", kPropLineEndX, 7, {0, 0}, {7, 0}},
        LineEditCase{"endYMovesEndOnly", kPropLineEndY, 3, {0, 0}, {4, 3}},
        LineEditCase{"length", kPropLineLength, 10, {0, 0}, {10, 0}},
        // 90 degrees through the truncated factor is not exactly a quarter turn; x stays ~1.2e-12 off 0.
        LineEditCase{"angleDegrees",
                     kPropLineAngle,
                     90,
                     {0, 0},
                     {4 * std::cos(90 * kRadPerDeg), 4 * std::sin(90 * kRadPerDeg)}},
        LineEditCase{"unknownItemIgnored", 12106, 9, {0, 0}, {4, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
