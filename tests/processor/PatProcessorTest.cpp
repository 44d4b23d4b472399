// Clean-up of pattern lists: merging, moving to the origin, tiny pieces (also only
// in open loops), and the two diagnostics.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/PolyViewDlg.h"
#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/processor/PatProcessor.h"
#include "tests/processor/GroupingSupport.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

using testutil::Arc;
using testutil::Line;
using testutil::Pieces;

constexpr double kPi = MathEx::PI;

IPatternPtr Circle(double x, double y, double r) {
    return boost::make_shared<CirclePattern>(Point2D(x, y), r);
}

struct MergeCase {
    const char* name;
    std::vector<IPatternPtr> patterns;
    std::size_t kept;
    std::vector<std::size_t> removed;  // indices, in the input list, of the patterns reported removed
    Rect2D firstBox;                   // box of the first pattern afterwards
};

void PrintTo(const MergeCase& c, std::ostream* os) {
    *os << c.name;
}

class MergePatternTable : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergePatternTable, KeepsTheFirstAndReportsTheOthers) {
    const MergeCase& c = GetParam();
    std::vector<IPatternPtr> input;  // fresh copies: merging changes the pattern that absorbs
    for (const IPatternPtr& p : c.patterns) {
        input.push_back(boost::dynamic_pointer_cast<IPattern>(p->Clone()));
    }
    const PatternListPtr list = Pieces(input);
    std::vector<DataID> removed;
    PatProcessor::MergePattern(list, 1e-6, removed);
    EXPECT_EQ(list->size(), c.kept);
    std::vector<DataID> expected;
    for (std::size_t i : c.removed) {
        expected.push_back(input[i]->GetID());
    }
    EXPECT_EQ(removed, expected);
    EXPECT_EQ(list->front(), input[0]);
    EXPECT_TRUE(testutil::BoxNear(list->front()->GetCacheData()->GetRect(), c.firstBox, 1e-9));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, MergePatternTable, ::testing::Values(
    MergeCase{"TouchingCollinearLines", {Line(0, 0, 1, 0), Line(1, 0, 3, 0)}, 1, {1}, Rect2D(0, 3, 0, 0)},
    // The third piece joins the first only after the second has: the scan starts over.
    MergeCase{"ChainOutOfOrder", {Line(0, 0, 1, 0), Line(2, 0, 3, 0), Line(1, 0, 2, 0)}, 1, {2, 1}, Rect2D(0, 3, 0, 0)},
    MergeCase{"ArcsOnOneCircle", {Arc(0, 0, 2, 0, kPi / 2), Arc(0, 0, 2, kPi / 2, kPi / 2)}, 1, {1}, Rect2D(-2, 2, 0, 2)},
    MergeCase{"DuplicateCircles", {Circle(1, 1, 1), Circle(1, 1, 1), Circle(5, 1, 1)}, 2, {1}, Rect2D(0, 2, 0, 2)},
    // A line and an arc meeting end to end are of different types.
    MergeCase{"LineAndArc", {Line(-2, 0, 2, 0), Arc(0, 0, 2, 0, kPi)}, 2, {}, Rect2D(-2, 2, 0, 0)}),
    [](const ::testing::TestParamInfo<MergeCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(PatProcessor, AdjustOriginPutsTheLowerLeftCornerOnTheOrigin) {
    const PatternListPtr list = Pieces({Line(-5, 2, 3, 7), Circle(0, 0, 1)});
    PatProcessor::AdjustOriginToLB(list);
    EXPECT_TRUE(testutil::BoxNear(list->GetRectBox(), Rect2D(0, 8, 0, 8), 1e-12));
    EXPECT_TRUE(testutil::PointNear((*list)[1]->GetBasePoint(), Point2D(5, 1)));
}

// A box exactly size wide fits (inclusive); one a little wider does not.
TEST(PatProcessor, RemoveTinyPatternsKeepsPiecesWiderThanTheSize) {
    const PatternListPtr list = Pieces({Line(0, 0, 1, 0), Line(0, 0, 1.001, 0), Circle(0, 0, 0.5)});
    const IPatternPtr wide = (*list)[1];
    PatProcessor::RemoveTinyPatterns(list, 1.0);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(list->front(), wide);
}

// Only open loops lose their tiny pieces; the tiny closed triangle stays, and no loop changes.
TEST(PatProcessor, RemoveTinyPatInOpenLoopsSparesClosedLoops) {
    testutil::Part part;
    part.AddChain(Pieces({Line(0, 0, 0.5, 0), Line(0.5, 0, 5, 0)}));
    part.AddChain(Pieces({Line(10, 0, 10.5, 0), Line(10.5, 0, 10, 0.5), Line(10, 0.5, 10, 0)}));
    const IPatternPtr tinyOpen = part.patterns->front();

    PatProcessor::RemoveTinyPatInOpenLoops(part.patterns, part.loops, 1.0);

    EXPECT_EQ(part.patterns->size(), 4u);
    EXPECT_EQ(part.patterns->GetPatternIndex(tinyOpen), -1);
    EXPECT_EQ(part.loops->front()->GetLoopNodes()->size(), 2u);
}

// Lines and arcs are reported, other patterns are not; the patterns do not change.
TEST(PatProcessor, DiagnosticsReportLinesAndArcsOnly) {
    const PatternListPtr list = Pieces({Line(0, 0, 1, 0), Circle(5, 5, 1), Arc(0, 0, 1, 0, kPi)});
    std::vector<std::wstring> log;
    LogMgr::SetSink([&log](const std::wstring& text) { log.push_back(text); });
    PatProcessor::PrintLineArcPatPt(list);
    LogMgr::SetSink(nullptr);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find(L"(0, 0) -> (1, 0)"), std::wstring::npos)
        << std::string(log[0].begin(), log[0].end());

    std::size_t shown = 0;
    PolyViewDlg::SetPresenter([&shown](const Geom2DList& geoms) { shown = geoms.size(); });
    PatProcessor::DisplayLineArcPatPt(list);
    PolyViewDlg::SetPresenter(nullptr);
    EXPECT_EQ(shown, 2u);
    EXPECT_EQ(list->size(), 3u);
}

}  // namespace
}  // namespace Norvane
