// Level of detail of loops by their size on screen (point up to 3 px, circle up to 6 px, both non-strict),
// culling of loops off the client area whatever their size, and the marks on the ends of open loops.
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/loop/PatLoopList.h"
#include "tests/support/DrawTestEnv.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;

enum class Shown { Nothing, Point, Circle, Outline };

struct DetailCase {
    const char* name;
    Rect2D box;    // the loop's cached box, in world units
    double scale;  // the drawing matrix scales about the origin by this
    Shown shown;
    Point2D centre;  // of the point or circle, after the matrix
    double radius;   // of the circle
};

class LoopDetail : public ::testing::TestWithParam<DetailCase> {};

// The viewport shows world (0..100, 0..100) at one pixel per unit, so device sizes equal world sizes (times
// the matrix scale) exactly and the boundary rows sit exactly on the thresholds.
TEST_P(LoopDetail, ChoosesByDeviceSize) {
    const DetailCase& c = GetParam();
    auto view = boost::make_shared<RecordingViewPort>(100, 100, Rect2D(0, 100, 0, 100));
    Matrix2D matrix;
    matrix.Scale(c.scale);
    LoopDrawer(view).DrawLoopData(testutil::BoxOnlyLoop(c.box), matrix);

    const auto draws = view->GetDrawCalls();
    if (c.shown == Shown::Nothing) {
        EXPECT_TRUE(draws.empty());
        return;
    }
    const char* const callOf[] = {"", "DrawRectPoint2D", "DrawArc2D", "DrawLinePoint2D"};
    ASSERT_EQ(draws.size(), c.shown == Shown::Outline ? 4u : 1u);  // an outline is the four sides
    EXPECT_EQ(draws[0].name, callOf[static_cast<int>(c.shown)]);
    const Point2D at(draws[0].args[0], draws[0].args[1]);
    if (c.shown == Shown::Outline) {
        EXPECT_TRUE(
            PointNear(at, Point2D(c.box.left * c.scale, c.box.bottom * c.scale)));  // under the matrix
    } else {
        EXPECT_TRUE(PointNear(at, c.centre));
    }
    if (c.shown == Shown::Circle) {
        EXPECT_DOUBLE_EQ(draws[0].args[2], c.radius);
        EXPECT_EQ(draws[0].args[3], 0.0);
        EXPECT_EQ(draws[0].args[4], MathEx::PI2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoopDetail,
    ::testing::Values(
        DetailCase{"TwoByTwoIsPoint", Rect2D(10, 12, 10, 12), 1.0, Shown::Point, Point2D(11, 11), 0},
        DetailCase{"ExactlyThreeIsPoint", Rect2D(10, 13, 10, 13), 1.0, Shown::Point, Point2D(11.5, 11.5), 0},
        DetailCase{"ThreeByFourIsCircle", Rect2D(10, 13, 10, 14), 1.0, Shown::Circle, Point2D(11.5, 12), 1.5},
        DetailCase{"TwoByFiveIsCircle", Rect2D(10, 12, 10, 15), 1.0, Shown::Circle, Point2D(11, 12.5), 1.0},
        DetailCase{"ExactlySixIsCircle", Rect2D(10, 16, 10, 16), 1.0, Shown::Circle, Point2D(13, 13), 3.0},
        DetailCase{"SixBySevenIsOutline", Rect2D(10, 16, 10, 17), 1.0, Shown::Outline, Point2D(), 0},
        DetailCase{"SevenByOneIsOutline", Rect2D(10, 17, 10, 11), 1.0, Shown::Outline, Point2D(), 0},
        // 1.5 units scaled by 4 is exactly 6 px: the matrix counts, and the circle is placed after it.
        DetailCase{"ScaledToSixIsCircle", Rect2D(10, 11.5, 10, 11.5), 4.0, Shown::Circle, Point2D(43, 43),
                   3.0},
        DetailCase{"OffScreenLargeIsNothing", Rect2D(150, 250, 10, 60), 1.0, Shown::Nothing, Point2D(), 0},
        DetailCase{"OffScreenTinyIsNothing", Rect2D(-20, -18, 10, 12), 1.0, Shown::Nothing, Point2D(), 0},
        DetailCase{"ScaledOffScreenIsNothing", Rect2D(30, 40, 30, 40), 4.0, Shown::Nothing, Point2D(), 0},
        // A box touching the client area's edge from outside still overlaps it (closed boxes).
        DetailCase{"TouchingTheEdgeIsDrawn", Rect2D(100, 110, 10, 20), 1.0, Shown::Outline, Point2D(), 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A closed loop gets no marks; an open one gets a diagonal red cross at each end even when the ends are
// only just farther apart than the closing tolerance.
TEST(LoopDrawerFlags, MarksBothEndsOfOpenLoopsOnly) {
    using testutil::CachedLine;
    auto view = boost::make_shared<RecordingViewPort>(100, 100, Rect2D(0, 100, 0, 100));
    auto loops = boost::make_shared<PatLoopList>();
    loops->push_back(testutil::CachedLoop({CachedLine(0, 0, 10, 0), CachedLine(10, 0, 10, 10),
                                           CachedLine(10, 10, 0, 10), CachedLine(0, 10, 0, 0)}));
    loops->push_back(testutil::CachedLoop(
        {CachedLine(20, 0, 30, 0), CachedLine(30, 0, 30, 10), CachedLine(30, 10, 20.0002, 0)}));

    LoopDrawer(view).FlagOpenLoops(loops);

    const auto marks = view->GetDrawCalls();
    ASSERT_EQ(marks.size(), 2u);
    for (const auto& mark : marks) {
        EXPECT_EQ(mark.name, "DrawCrossPoint2DEx");
        EXPECT_EQ(mark.args[2], 13.0);
        EXPECT_DOUBLE_EQ(mark.args[3], MathEx::PI / 4);
        EXPECT_EQ(mark.pen.color, 255u);
    }
    EXPECT_TRUE(PointNear(Point2D(marks[0].args[0], marks[0].args[1]), Point2D(20, 0)));
    EXPECT_TRUE(PointNear(Point2D(marks[1].args[0], marks[1].args[1]), Point2D(20.0002, 0)));
}

}  // namespace
}  // namespace Norvane
