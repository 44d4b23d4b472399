// Arrays that change: which patterns a row, an arc and a grid accept as their next copy or column (at the
// edges of the tolerances), offsetting through the seed while the copies keep their centres, and the
// grid's own transform.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/OutlineMetrics.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::PointNear;
constexpr double kPi = MathEx::PI;

Point2D Polar(double radius, double angle) {
    return Point2D(radius * std::cos(angle), radius * std::sin(angle));
}

// ---- a row of three unit circles, step (10, 0): the next copy stands at (30, 0) ----

struct RowOffer {
    std::string name;
    std::function<IPatternPtr()> candidate;
    int taken;
};

class RowAddPattern : public ::testing::TestWithParam<RowOffer> {};

TEST_P(RowAddPattern, TakesOnlyTheNextCopy) {
    testutil::SeedLinkGuard links;
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(10, 0), 3);
    links.Link(row, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    EXPECT_EQ(row->AddPattern(GetParam().candidate()), GetParam().taken);
    EXPECT_EQ(row->GetRepeatNum(), 3 + GetParam().taken);
}

IPatternPtr UnitCircleAt(double x, double y) {
    return boost::make_shared<CirclePattern>(Point2D(x, y), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Offers, RowAddPattern,
    ::testing::Values(
        RowOffer{"ExactlyThreeSteps", [] { return UnitCircleAt(30, 0); }, 1},
        RowOffer{"DistanceJustInside", [] { return UnitCircleAt(30.00009, 0); }, 1},
        RowOffer{"DistanceJustOutside", [] { return UnitCircleAt(30.00011, 0); }, 0},
        // 0.0029 / 30 and 0.0031 / 30 rad lie either side of the 0.0001 rad direction tolerance.
        RowOffer{"DirectionJustInside", [] { return UnitCircleAt(30, 0.0029); }, 1},
        RowOffer{"DirectionJustOutside", [] { return UnitCircleAt(30, 0.0031); }, 0},
        RowOffer{"ExistingCopy", [] { return UnitCircleAt(20, 0); }, 0},
        RowOffer{"BeforeTheFirstCopy", [] { return UnitCircleAt(-10, 0); }, 0},
        RowOffer{"OtherRadius",
                 [] { return IPatternPtr(boost::make_shared<CirclePattern>(Point2D(30, 0), 1.5)); }, 0},
        RowOffer{"OtherType",
                 [] { return IPatternPtr(boost::make_shared<LinePattern>(Point2D(30, 0), Vector2D(1, 0))); },
                 0},
        RowOffer{"Nothing", [] { return IPatternPtr(); }, 0}),
    [](const ::testing::TestParamInfo<RowOffer>& info) { return info.param.name; });

// A row running along -x has the step angle pi; an offset whose angle came out as -pi + tiny is the same
// direction and must be accepted.
TEST(PatLinePattern, AddPatternAcrossTheHalfTurn) {
    testutil::SeedLinkGuard links;
    auto row = boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(-10, 0), 2);
    links.Link(row, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    EXPECT_EQ(row->AddPattern(UnitCircleAt(-20, -1e-6)), 1);
    EXPECT_EQ(row->AddPattern(UnitCircleAt(-30, 1e-6)), 1);
    EXPECT_EQ(row->GetRepeatNum(), 4);
}

// ---- an arc of three unit circles on radius 10, one step apart from angle 0 ----

struct ArcOffer {
    std::string name;
    double step;  // signed angle between neighbouring copies
    Point2D candidate;
    int taken;
    int atEnd;
    double firstAngle;    // the first copy's angle afterwards
    double radius = 1.0;  // of the candidate circle
};

class ArcAddPattern : public ::testing::TestWithParam<ArcOffer> {};

TEST_P(ArcAddPattern, GrowsAtEitherEnd) {
    testutil::SeedLinkGuard links;
    const ArcOffer& c = GetParam();
    auto arc = boost::make_shared<PatArcPattern>(Point2D(0, 0), 10.0, 0.0, c.step, 3);
    links.Link(arc, boost::make_shared<CirclePattern>(Point2D(10, 0), 1.0));
    int atEnd = 7;
    EXPECT_EQ(arc->AddPattern(boost::make_shared<CirclePattern>(c.candidate, c.radius), atEnd), c.taken);
    EXPECT_EQ(atEnd, c.atEnd);
    EXPECT_EQ(arc->GetRepeatNum(), 3 + c.taken);
    EXPECT_TRUE(PointNear(arc->GetFirstInst()->GetBasePoint(), Polar(10, c.firstAngle)));
    EXPECT_NEAR(arc->GetRepeatAngle(), c.step, 1e-15);
}

constexpr double kStep = kPi / 6;

INSTANTIATE_TEST_SUITE_P(
    Offers, ArcAddPattern,
    ::testing::Values(ArcOffer{"BeyondTheLast", kStep, Polar(10, 3 * kStep), 1, 1, 0.0},
                      ArcOffer{"BeforeTheFirst", kStep, Polar(10, -kStep), 1, 0, -kStep},
                      ArcOffer{"BeyondTheLastJustInside", kStep, Polar(10.00009, 3 * kStep), 1, 1, 0.0},
                      ArcOffer{"OffTheCircle", kStep, Polar(10.00011, 3 * kStep), 0, 0, 0.0},
                      ArcOffer{"OnTheCircleBetweenCopies", kStep, Polar(10, 1.5 * kStep), 0, 0, 0.0},
                      ArcOffer{"TwoStepsBeyond", kStep, Polar(10, 4 * kStep), 0, 0, 0.0},
                      ArcOffer{"ClockwiseBeyondTheLast", -kStep, Polar(10, -3 * kStep), 1, 1, 0.0},
                      ArcOffer{"ClockwiseBeforeTheFirst", -kStep, Polar(10, kStep), 1, 0, kStep},
                      ArcOffer{"OtherShapeBeyondTheLast", kStep, Polar(10, 3 * kStep), 0, 0, 0.0, 1.1}),
    [](const ::testing::TestParamInfo<ArcOffer>& info) { return info.param.name; });

// ---- a grid of one column (2 rows, row spacing 3), column spacing 5; columns come as upright rows ----

struct ColumnOffer {
    std::string name;
    std::function<boost::shared_ptr<PatLinePattern>()> column;
    int taken;
};

class GridAddColumn : public ::testing::TestWithParam<ColumnOffer> {};

TEST_P(GridAddColumn, TakesOnlyAMatchingNextColumn) {
    testutil::SeedLinkGuard links;
    auto grid = boost::make_shared<PatGridPattern>(Point2D(0, 0), 3.0, 2, 5.0, 1);
    links.Link(grid, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    EXPECT_EQ(grid->AddPatternLine(GetParam().column()), GetParam().taken);
    EXPECT_EQ(grid->GetColumnCount(), 1 + GetParam().taken);
}

boost::shared_ptr<PatLinePattern> Column(double x, double angle, int count) {
    return boost::make_shared<PatLinePattern>(Point2D(x, 0), 3.0, angle, count);
}

INSTANTIATE_TEST_SUITE_P(
    Offers, GridAddColumn,
    ::testing::Values(
        ColumnOffer{"NextColumn", [] { return Column(5, kPi / 2, 2); }, 1},
        ColumnOffer{"DistanceJustInside", [] { return Column(5.00009, kPi / 2, 2); }, 1},
        ColumnOffer{"DistanceJustOutside", [] { return Column(5.00011, kPi / 2, 2); }, 0},
        ColumnOffer{"UprightWithinTolerance", [] { return Column(5, kPi / 2 + 0.5e-9, 2); }, 1},
        ColumnOffer{"SlightlyTilted", [] { return Column(5, kPi / 2 + 2e-9, 2); }, 0},
        ColumnOffer{"PointingDown", [] { return Column(5, -kPi / 2, 2); }, 0},
        ColumnOffer{"OtherRowCount", [] { return Column(5, kPi / 2, 3); }, 0},
        // Upright and at the right place, but the row spacing differs in the last digits: no match.
        ColumnOffer{
            "RowSpacingNotExact",
            [] { return boost::make_shared<PatLinePattern>(Point2D(5, 0), Vector2D(0, 3 + 1e-12), 2); }, 0},
        ColumnOffer{"Nothing", [] { return boost::shared_ptr<PatLinePattern>(); }, 0}),
    [](const ::testing::TestParamInfo<ColumnOffer>& info) { return info.param.name; });

// Columns are taken one after the other, each one column spacing further out.
TEST(PatGridPattern, GrowsColumnByColumn) {
    testutil::SeedLinkGuard links;
    auto grid = boost::make_shared<PatGridPattern>(Point2D(0, 0), 3.0, 2, 5.0, 1);
    links.Link(grid, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    EXPECT_EQ(grid->AddPatternLine(Column(10, kPi / 2, 2)), 0);  // skips a column
    EXPECT_EQ(grid->AddPatternLine(Column(5, kPi / 2, 2)), 1);
    EXPECT_EQ(grid->AddPatternLine(Column(10, kPi / 2, 2)), 1);
    EXPECT_EQ(grid->GetColumnCount(), 3);
    grid->UpdateCache();
    EXPECT_EQ(grid->GetCacheData()->GetBaseGeom()->size(), 6u);
}

// ---- offsetting through the seed ----

// The centre of each copy, read from the array's cached outline: the box centre of each copy's elements.
// (The seed below is symmetric about its centre, so the box centre is the copy's centre.)
std::vector<Point2D> CopyCentres(const IArrayPatternPtr& array, std::size_t elementsPerCopy) {
    array->UpdateCache();
    const Geom2DListPtr geoms = array->GetCacheData()->GetBaseGeom();
    std::vector<Point2D> centres;
    for (std::size_t i = 0; i + elementsPerCopy <= geoms->size(); i += elementsPerCopy) {
        Geom2DList copy;
        for (std::size_t k = 0; k < elementsPerCopy; ++k) {
            copy.push_back(geoms->at(i + k));
        }
        centres.push_back(copy.GetRect().GetCenterPt());
    }
    return centres;
}

struct OffsetCase {
    std::string name;
    std::function<IArrayPatternPtr()> array;
    std::function<IStdPatternPtr()> seed;
};

class OffsetArray : public ::testing::TestWithParam<OffsetCase> {};

// Growing the seed (the rectangle grows about its centre, so its base corner moves) and shrinking it back
// leave every copy's centre where it was, while the copies really change size.
TEST_P(OffsetArray, CopiesKeepTheirCentres) {
    testutil::SeedLinkGuard links;
    const IStdPatternPtr seed = GetParam().seed();
    const IArrayPatternPtr array = links.Link(GetParam().array(), seed);
    const std::size_t perCopy = seed->CalcBaseGeomList()->size();
    const std::vector<Point2D> before = CopyCentres(array, perCopy);
    const double widthBefore = array->GetFirstInst()->GetCacheData()->GetRect().Width();

    ASSERT_EQ(array->OffsetArrayPat(0, 0.5), 1);
    const std::vector<Point2D> grown = CopyCentres(array, perCopy);
    ASSERT_EQ(grown.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(PointNear(grown[i], before[i])) << "copy " << i << " after growing";
    }
    EXPECT_GT(array->GetFirstInst()->GetCacheData()->GetRect().Width(), widthBefore + 0.9);

    ASSERT_EQ(array->OffsetArrayPat(1, 0.5), 1);
    const std::vector<Point2D> shrunk = CopyCentres(array, perCopy);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(PointNear(shrunk[i], before[i])) << "copy " << i << " after shrinking";
    }
    EXPECT_NEAR(array->GetFirstInst()->GetCacheData()->GetRect().Width(), widthBefore, 1e-9);
}

IStdPatternPtr TurnedRect() {
    Vector2D side(4, 0);
    side.Rotate(0.3);
    return boost::make_shared<RectHolePattern>(Point2D(2, 1), side, 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, OffsetArray,
    ::testing::Values(
        OffsetCase{"RowOfRects",
                   [] { return boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(8, 3), 3); },
                   TurnedRect},
        OffsetCase{"ArcOfRects",
                   [] { return boost::make_shared<PatArcPattern>(Point2D(1, 1), 20.0, 0.2, 0.4, 4); },
                   TurnedRect},
        OffsetCase{"RingOfRects",
                   [] { return boost::make_shared<PatCirclePattern>(Point2D(-5, 0), 15.0, 1.0, 5); },
                   TurnedRect},
        OffsetCase{"GridOfRects",
                   [] { return boost::make_shared<PatGridPattern>(Point2D(4, 4), 9.0, 2, 10.0, 3); },
                   TurnedRect}),
    [](const ::testing::TestParamInfo<OffsetCase>& info) { return info.param.name; });

// A seed that is no standard shape, or one that refuses (shrinking a 4 x 2 rectangle by 3), leaves the
// array and the seed untouched.
TEST(ArrayPattern, OffsetRefusalsChangeNothing) {
    testutil::SeedLinkGuard links;
    auto line = boost::make_shared<LinePattern>(Point2D(0, 0), Vector2D(1, 0));
    auto row = boost::make_shared<PatLinePattern>(Point2D(1, 1), Vector2D(5, 0), 3);
    links.Link(row, line);
    EXPECT_EQ(row->OffsetArrayPat(0, 1.0), 0);
    EXPECT_EQ(row->GetBasePoint(), Point2D(1, 1));
    EXPECT_EQ(line->GetBaseVector(), Vector2D(1, 0));

    auto rect = boost::make_shared<RectHolePattern>(Point2D(0, 0), Vector2D(4, 0), 0.5);
    auto grid = boost::make_shared<PatGridPattern>(Point2D(1, 1), 5.0, 2, 5.0, 2);
    links.Link(grid, rect);
    EXPECT_EQ(grid->OffsetArrayPat(1, 3.0), 0);
    EXPECT_EQ(grid->GetBasePoint(), Point2D(1, 1));
    EXPECT_EQ(rect->GetLength(), 4.0);

    auto lonely = boost::make_shared<PatGridPattern>(Point2D(1, 1), 5.0, 2, 5.0, 2);
    EXPECT_EQ(lonely->OffsetArrayPat(0, 1.0), 0);
}

// ---- the grid's own transform ----

// Scaling by 2 about the origin and moving by (1, 1) carries every copy of the grid onto the image of
// where it stood, and the cached box onto the image of the old box.
TEST(PatGridPattern, TransformScalesSpacingsAndMovesTheBase) {
    testutil::SeedLinkGuard links;
    auto grid = boost::make_shared<PatGridPattern>(Point2D(1, 2), 3.0, 2, 5.0, 3);
    links.Link(grid, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    Matrix2D m;
    m.SetScale(2.0);
    m.Transfer(Vector2D(1, 1));

    std::vector<Point2D> before;
    before.push_back(grid->GetFirstInst()->GetBasePoint());
    const RepeatDataPtr repeatsBefore = grid->GetRepeatData();
    for (const Matrix2D& r : *repeatsBefore) {
        before.push_back(r.TransformPoint(before[0]));
    }
    grid->Transform(m);
    EXPECT_EQ(grid->GetBasePoint(), Point2D(3, 5));
    EXPECT_EQ(grid->GetRowSpace(), 6.0);
    EXPECT_EQ(grid->GetColumnSpace(), 10.0);

    const Point2D first = grid->GetFirstInst()->GetBasePoint();
    EXPECT_TRUE(PointNear(first, m.TransformPoint(before[0])));
    const RepeatDataPtr repeats = grid->GetRepeatData();
    ASSERT_EQ(repeats->size(), before.size() - 1);
    for (std::size_t i = 0; i < repeats->size(); ++i) {
        EXPECT_TRUE(PointNear(repeats->at(i).TransformPoint(first), m.TransformPoint(before[i + 1])));
    }
    grid->UpdateCache();
    // Copy centres span x 3..23, y 5..11; the seed's radius stays 1.
    EXPECT_TRUE(testutil::BoxNear(grid->GetCacheData()->GetRect(), Rect2D(2, 24, 4, 12), 1e-12));
}

// The other arrays move their base point and base vector only: a turn turns the start direction of an arc
// array and its copies with it; the radius stays.
TEST(PatArcPattern, TransformTurnsTheStartDirection) {
    testutil::SeedLinkGuard links;
    auto arc = boost::make_shared<PatArcPattern>(Point2D(1, 0), 5.0, 0.0, kPi / 2, 2);
    links.Link(arc, boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0));
    Matrix2D turn;
    turn.Rotate(kPi / 2);
    arc->Transform(turn);
    EXPECT_TRUE(PointNear(arc->GetBasePoint(), Point2D(0, 1)));
    EXPECT_NEAR(arc->GetStartAngle(), kPi / 2, 1e-12);
    EXPECT_EQ(arc->GetRadius(), 5.0);
    EXPECT_TRUE(PointNear(arc->GetFirstInst()->GetBasePoint(), Point2D(0, 6)));
}

}  // namespace
}  // namespace Norvane
