// Snapping on a recording viewport. Every case is laid out in device pixels around world points and run at
// two zoom levels (8 and 128 pixels per unit, so that pixel offsets are exact binary fractions and the cases
// at exactly the snap distance are exact): the snap distance is 5 pixels whatever the zoom, so the same
// picture must snap the same way at both.
#include <functional>
#include <optional>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/pattern/PatternList.h"
#include "tests/support/DrawTestEnv.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::CachedLine;
using testutil::PointNear;

struct Scene {
    double px = 1.0;  // one device pixel in drawing units
    PatternListPtr patterns = boost::make_shared<PatternList>();
    Point2DPtr first;
    Point2D cursor;
    void Line(double x1, double y1, double x2, double y2) { patterns->push_back(CachedLine(x1, y1, x2, y2)); }
};

struct SnapCase {
    const char* name;
    std::function<void(Scene&)> build;
    // The expected snap point (none: nothing snaps), and how many alignment lines explain it.
    std::function<std::optional<Point2D>(const Scene&)> snap;
    std::size_t lines;
};

const SnapCase kCases[] = {
    {"ControlPointBeatsNearerCrossing",
     [](Scene& s) {
         // Lines crossing at (5, 0), 2 px from the cursor; the end of a third line 4 px from it.
         s.Line(0, 0, 8, 0);
         s.Line(5, -3, 5, 7);
         s.Line(5 + 6 * s.px, 0, 5 + 6 * s.px, 9);
         s.cursor = Point2D(5 + 2 * s.px, 0);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(5 + 6 * s.px, 0)); }, 0},
    {"CrossingOfTwoNearLines",
     [](Scene& s) {
         s.Line(0, 0, 8, 0);
         s.Line(5, -3, 5, 7);
         s.cursor = Point2D(5 + 3 * s.px, 2 * s.px);
     },
     [](const Scene&) { return std::optional<Point2D>(Point2D(5, 0)); }, 0},
    {"ControlPointExactlyAtSnapDistanceSnaps",  // inclusive
     [](Scene& s) {
         s.Line(0, 0, 8, 0);
         s.cursor = Point2D(8 + 5 * s.px, 0);
     },
     [](const Scene&) { return std::optional<Point2D>(Point2D(8, 0)); }, 0},
    {"VerticalAlignmentWithTheFirstPoint",
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2 + 3 * s.px, 2 + 40 * s.px);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(2, 2 + 40 * s.px)); }, 1},
    {"HorizontalAlignmentToTheRight",
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2 + 40 * s.px, 2 - 3 * s.px);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(2 + 40 * s.px, 2)); }, 1},
    {"HorizontalAlignmentToTheLeftProjectsTheSameWay",
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2 - 40 * s.px, 2 + 3 * s.px);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(2 - 40 * s.px, 2)); }, 1},
    {"AlignmentExactlyAtSnapDistanceStillAligns",  // |dx| <= d
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2 + 5 * s.px, 2 + 40 * s.px);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(2, 2 + 40 * s.px)); }, 1},
    {"CursorOnTheFirstPointGivesNoLine",
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2, 2);
     },
     [](const Scene&) { return std::optional<Point2D>(); }, 0},
    {"CursorNearTheFirstPointBothWaysGivesNoLine",
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(2, 2);
         s.cursor = Point2D(2 + 4 * s.px, 2 - 4 * s.px);
     },
     [](const Scene&) { return std::optional<Point2D>(); }, 0},
    {"AlignmentLineCrossingAPatternNearTheCursor",
     [](Scene& s) {
         // The vertical line through the first point meets a pattern line 2.8 px from the cursor.
         s.first = boost::make_shared<Point2D>(0, 0);
         s.Line(-9, 3, 1, 3);
         s.cursor = Point2D(2 * s.px, 3 + 2 * s.px);
     },
     [](const Scene&) { return std::optional<Point2D>(Point2D(0, 3)); }, 1},
    {"AlignmentCrossingExactlyAtSnapDistanceFallsBackToProjection",  // strict < d: (3, 4) px is 5 px away
     [](Scene& s) {
         s.first = boost::make_shared<Point2D>(0, 0);
         s.Line(-9, 3, 1, 3);
         s.cursor = Point2D(3 * s.px, 3 + 4 * s.px);
     },
     [](const Scene& s) { return std::optional<Point2D>(Point2D(0, 3 + 4 * s.px)); }, 1},
    {"NothingAtAll", [](Scene& s) { s.cursor = Point2D(1, 1); },
     [](const Scene&) { return std::optional<Point2D>(); }, 0},
};

class DrawAssistorSnap : public ::testing::TestWithParam<SnapCase> {};

TEST_P(DrawAssistorSnap, SnapsAlikeAtEveryZoom) {
    for (double pixelsPerUnit : {8.0, 128.0}) {
        SCOPED_TRACE(pixelsPerUnit);
        const double half = 100.0 / pixelsPerUnit;
        const auto view = boost::make_shared<RecordingViewPort>(200, 200, Rect2D(-half, half, -half, half));
        ASSERT_DOUBLE_EQ(view->DToW(1.0), 1.0 / pixelsPerUnit);
        Scene scene;
        scene.px = view->DToW(1.0);
        GetParam().build(scene);

        DrawAssistor assistor(view);
        assistor.Init(scene.patterns, scene.first);
        assistor.RefreshAssistor(scene.cursor.x, scene.cursor.y);

        const std::optional<Point2D> expected = GetParam().snap(scene);
        const Point2DPtr snap = assistor.GetSnapPt();
        ASSERT_EQ(snap != nullptr, expected.has_value());
        if (expected) {
            EXPECT_TRUE(PointNear(*snap, *expected, 1e-12));
        }
        EXPECT_EQ(assistor.GetAssistLines().size(), GetParam().lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawAssistorSnap, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SnapCase>& info) {
                             return std::string(info.param.name);
                         });

class DrawAssistorTest : public ::testing::Test {
protected:
    testutil::DisplayColorGuard m_colors;
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(200, 200, Rect2D(-10, 10, -10, 10));
    PatternListPtr m_patterns = boost::make_shared<PatternList>();
};

// A corner is a control point of both lines and their crossing: it is listed once as a feature point, and
// the first point is listed before it.
TEST_F(DrawAssistorTest, FeaturePointsAreListedOnce) {
    m_patterns->push_back(CachedLine(0, 0, 4, 0));
    m_patterns->push_back(CachedLine(4, 0, 4, 4));
    DrawAssistor assistor(m_view);
    assistor.Init(m_patterns, boost::make_shared<Point2D>(-5, -5));
    assistor.RefreshAssistor(4.1, 0.1);
    ASSERT_EQ(assistor.GetFeaturePoints().size(), 2u);
    EXPECT_TRUE(PointNear(assistor.GetFeaturePoints()[0], Point2D(-5, -5)));
    EXPECT_TRUE(PointNear(assistor.GetFeaturePoints()[1], Point2D(4, 0)));
}

// The hints: a square on the snap point, a cross on every feature point and the alignment lines dashed,
// all in the control-point colour; the pen is back as it was afterwards.
TEST_F(DrawAssistorTest, DrawsHintsAndRestoresThePen) {
    DrawAssistor assistor(m_view);
    assistor.Init(m_patterns, boost::make_shared<Point2D>(2, 2));
    assistor.RefreshAssistor(2.3, 6);  // vertical alignment: snap (2, 6)
    m_view->SetLineWidth(3.0);
    const ViewPen before = m_view->GetPen();
    m_view->Clear();
    assistor.DrawAssistInfo();

    const auto squares = m_view->GetCalls("DrawRectPoint2D");
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_EQ(squares[0].args, (std::vector<double>{2, 6, 10, 1}));
    EXPECT_EQ(squares[0].pen.color, testutil::DrawColors::kCtrlPt);
    ASSERT_EQ(m_view->CountCalls("DrawCrossPoint2D"), 1u);
    const auto lines = m_view->GetCalls("DrawLinePoint2D");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen.stippleEnabled, 1);
    EXPECT_EQ(lines[0].pen.stipplePattern, 0xF0F0);
    EXPECT_EQ(lines[0].args[0], 2.0);  // from the first point up past the cursor
    EXPECT_EQ(lines[0].args[1], 2.0);
    EXPECT_GT(lines[0].args[3], 6.0);
    EXPECT_EQ(m_view->GetPen(), before);

    // Cleared (as the editor does for actions without snapping), nothing is drawn and the pen is untouched.
    assistor.Clear();
    m_view->Clear();
    assistor.DrawAssistInfo();
    EXPECT_TRUE(m_view->GetCalls().empty());
    EXPECT_FALSE(assistor.GetSnapPt());
}

// Two long lines pass 1 px from the cursor and meet far above it: their crossing is taken (it is measured
// against nothing) and, lying straight above the first point, ties with it for the vertical alignment
// line; the later feature point, the crossing, gives the line.
TEST_F(DrawAssistorTest, TiedAlignmentCandidatesGoToTheLaterOne) {
    const double px = m_view->DToW(1.0);
    m_patterns->push_back(CachedLine(0, 20, 8 * px, -20));
    m_patterns->push_back(CachedLine(0, 20, 16 * px, -20));
    DrawAssistor assistor(m_view);
    assistor.Init(m_patterns, boost::make_shared<Point2D>(0, 0));
    assistor.RefreshAssistor(3 * px, 10);
    ASSERT_TRUE(assistor.GetSnapPt());
    EXPECT_TRUE(PointNear(*assistor.GetSnapPt(), Point2D(0, 20)));
    ASSERT_EQ(assistor.GetAssistLines().size(), 1u);
    EXPECT_TRUE(PointNear(assistor.GetAssistLines()[0].GetStartPoint(), Point2D(0, 20)));
}

TEST_F(DrawAssistorTest, EmptyListAndNoFirstPointSnapNothing) {
    DrawAssistor assistor(m_view);
    assistor.Init(m_patterns, Point2DPtr());
    assistor.RefreshAssistor(0, 0);
    EXPECT_FALSE(assistor.GetSnapPt());
    EXPECT_TRUE(assistor.GetFeaturePoints().empty());
    m_view->Clear();
    assistor.DrawAssistInfo();
    EXPECT_TRUE(m_view->GetCalls().empty());
}

}  // namespace
}  // namespace Norvane
