// Pattern drawing from the caches: an array's seed shows neither outline nor control points (the array
// stands for it), alone or in a list.
#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/draw/SnapPtDrawer.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "tests/support/DrawTestEnv.h"
#include "tests/support/GeomExpect.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using testutil::PointNear;

class PatternDrawerTest : public ::testing::Test {
protected:
    PatternDrawerTest() {
        m_seed = testutil::CachedLine(0, 0, 4, 0);
        m_array = m_links.Link(boost::make_shared<PatLinePattern>(Point2D(0, 0), Vector2D(0, 10), 3), m_seed);
        m_list->push_back(m_seed);
        m_list->push_back(m_array);
        m_list->push_back(testutil::CachedLine(50, 50, 60, 60));
    }

    testutil::DisplayColorGuard m_colors;
    testutil::SeedLinkGuard m_links;
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(100, 100, Rect2D(0, 100, 0, 100));
    IPatternPtr m_seed;
    IArrayPatternPtr m_array;
    PatternListPtr m_list = boost::make_shared<PatternList>();
};

// A seed alone draws nothing and does not even touch the pen; its array draws the three copies.
TEST_F(PatternDrawerTest, SeedIsLeftToItsArray) {
    PatternDrawer patterns(m_view);
    SnapPtDrawer snaps(m_view);
    patterns.DrawPat(m_seed);
    patterns.DrawActivePat(m_seed);
    patterns.DrawSelPat(m_seed);
    snaps.DrawPatCtrlPt(m_seed);
    EXPECT_TRUE(m_view->GetDrawCalls().empty());

    patterns.DrawSelPatList(m_list);  // seed skipped: 3 copies + the free line
    EXPECT_EQ(m_view->CountCalls("DrawLinePoint2D"), 4u);

    m_view->Clear();
    snaps.DrawPatListCtrlPt(m_list);
    Point2DList expected;
    m_array->GetSnapPoints(expected);
    m_list->back()->GetSnapPoints(expected);
    const auto crosses = m_view->GetCalls("DrawCrossPoint2D");
    ASSERT_EQ(crosses.size(), expected.size());
    for (std::size_t i = 0; i < crosses.size(); ++i) {
        EXPECT_TRUE(PointNear(Point2D(crosses[i].args[0], crosses[i].args[1]), expected[i]));
        EXPECT_EQ(crosses[i].args[2], 10.0);
        EXPECT_EQ(crosses[i].args[3], 0.0);
    }
}

}  // namespace
}  // namespace Norvane
