// Loop cache refresh and the nesting tree of loops.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

Matrix2D Shift(double dx, double dy) {
    Matrix2D m;
    m.Transfer(Vector2D(dx, dy));
    return m;
}

IPatternPtr Line(double x1, double y1, double x2, double y2) {
    auto line = boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
    line->UpdateCache();
    return line;
}

// An axis-aligned square run counter-clockwise, with its cache filled.
PolyPatLoopPtr Square(double x, double y, double size) {
    auto loop = boost::make_shared<PolyPatLoop>();
    loop->AppendPattern(Line(x, y, x + size, y), 1);
    loop->AppendPattern(Line(x + size, y, x + size, y + size), 1);
    loop->AppendPattern(Line(x + size, y + size, x, y + size), 1);
    loop->AppendPattern(Line(x, y + size, x, y), 1);
    LoopProcessor::UpdateCache(loop);
    return loop;
}

TEST(LoopCacheTest, ElementsKeepTheirOwnDirectionAndStaleCachesAreTrusted) {
    auto loop = boost::make_shared<PolyPatLoop>();
    IPatternPtr first = Line(0, 0, 2, 0);
    IPatternPtr second = Line(2, 3, 2, 0);  // run backwards by the loop
    loop->AppendPattern(first, 1);
    loop->AppendPattern(second, 0);
    LoopProcessor::UpdateCache(loop);
    const Geom2DListPtr geoms = loop->GetCacheData()->GetLoopBaseGeom();
    ASSERT_EQ(geoms->size(), 2u);
    EXPECT_EQ((*geoms)[1]->GetStartPoint(), Point2D(2, 3));  // the pattern's own sense, not the loop's
    EXPECT_EQ(loop->GetCacheData()->GetLoopRect().top, 3.0);

    // Moved without refreshing the pattern: the plain refresh still sees the old box, the Ex form the new.
    second->Transform(Shift(0, 5));
    LoopProcessor::UpdateCache(loop);
    EXPECT_EQ(loop->GetCacheData()->GetLoopRect().top, 3.0);
    LoopProcessor::UpdateCacheEx(loop);
    EXPECT_EQ(loop->GetCacheData()->GetLoopRect().top, 8.0);

    auto empty = boost::make_shared<PolyPatLoop>();
    LoopProcessor::UpdateCache(empty);
    EXPECT_TRUE(empty->GetCacheData()->GetLoopBaseGeom()->empty());
}

TEST(LoopCacheTest, ArrayRefreshRebuildsTheSeedFirst) {
    testutil::SeedLinkGuard guard;
    auto seed = boost::make_shared<CirclePattern>(Point2D(10, 0), 1.0);
    seed->UpdateCache();
    auto array = boost::make_shared<PatCirclePattern>(Point2D(0, 0), 10.0, 0.0, 4);
    guard.Link(array, seed);
    auto loops = boost::make_shared<PatLoopList>();
    loops->push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));

    // Move the seed only: the copies follow once both caches are rebuilt, seed before array.
    seed->Transform(Shift(5, 0));
    LoopProcessor::UpdateCacheEx(loops);
    EXPECT_NEAR(seed->GetCacheData()->GetRect().right, 16.0, 1e-9);
    EXPECT_DOUBLE_EQ(loops->front()->GetCacheData()->GetLoopRect().right,
                     array->GetCacheData()->GetRect().right);
}

// The tree as text: "A(B,C)" for A holding B and C.
std::string Shape(const LoopTopItemListPtr& level, const std::vector<IPatLoopPtr>& names) {
    std::string text;
    for (const LoopTopItemPtr& item : *level) {
        if (!text.empty())
            text += ",";
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == item->GetPatLoop())
                text += static_cast<char>('A' + i);
        if (!item->GetSubItemList()->empty())
            text += "(" + Shape(item->GetSubItemList(), names) + ")";
    }
    return text;
}

struct NestingCase {
    const char* name;
    std::vector<IPatLoopPtr> (*make)();
    const char* tree;  // loops named A, B, C... in list order
};

void PrintTo(const NestingCase& c, std::ostream* os) {
    *os << c.name;
}

class LoopTopologyTest : public ::testing::TestWithParam<NestingCase> {};

TEST_P(LoopTopologyTest, BuildsTheExpectedTree) {
    const std::vector<IPatLoopPtr> loops = GetParam().make();
    auto list = boost::make_shared<PatLoopList>();
    for (const IPatLoopPtr& loop : loops) list->push_back(loop);
    EXPECT_EQ(Shape(LoopProcessor::CalcLoopTopStruct(list), loops), GetParam().tree);
}

PolyPatLoopPtr OpenL(double x, double y) {
    auto loop = boost::make_shared<PolyPatLoop>();
    loop->AppendPattern(Line(x, y, x + 1, y), 1);
    loop->AppendPattern(Line(x + 1, y, x + 1, y + 1), 1);
    LoopProcessor::UpdateCache(loop);
    return loop;
}

// A U-shaped closed outline: the notch between x 4..6 reaches down to y 2.
PolyPatLoopPtr UShape() {
    auto loop = boost::make_shared<PolyPatLoop>();
    const double pts[][2] = {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 2}, {4, 2}, {4, 10}, {0, 10}};
    for (int i = 0; i < 8; ++i) {
        const int j = (i + 1) % 8;
        loop->AppendPattern(Line(pts[i][0], pts[i][1], pts[j][0], pts[j][1]), 1);
    }
    LoopProcessor::UpdateCache(loop);
    return loop;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoopTopologyTest,
    ::testing::Values(
        NestingCase{"single", [] { return std::vector<IPatLoopPtr>{Square(0, 0, 1)}; }, "A"},
        NestingCase{"disjoint_keep_order",
                    [] {
                        return std::vector<IPatLoopPtr>{Square(5, 0, 1), Square(0, 0, 1)};
                    },
                    "A,B"},
        // Hole, frame, hole: the frame gathers the first hole; the second finds the frame in phase 2.
        NestingCase{"frame_between_holes",
                    [] {
                        return std::vector<IPatLoopPtr>{Square(1, 1, 1), Square(0, 0, 10), Square(5, 5, 1)};
                    },
                    "B(A,C)"},
        NestingCase{"innermost_first_chain",
                    [] {
                        return std::vector<IPatLoopPtr>{Square(2, 2, 1), Square(1, 1, 3), Square(0, 0, 5)};
                    },
                    "C(B(A))"},
        // An open loop goes inside on the box alone, even where the outline itself leaves it out.
        NestingCase{"open_in_notch_by_box",
                    [] {
                        return std::vector<IPatLoopPtr>{UShape(), OpenL(4.5, 5)};
                    },
                    "A(B)"},
        // A closed square in the notch: the box test passes, the polygon test does not.
        NestingCase{"closed_in_notch_stays_top",
                    [] {
                        return std::vector<IPatLoopPtr>{UShape(), Square(4.5, 5, 1)};
                    },
                    "A,B"},
        // An open loop encloses nothing, whatever its box.
        NestingCase{"open_encloses_nothing",
                    [] {
                        auto open = boost::make_shared<PolyPatLoop>();
                        open->AppendPattern(Line(0, 0, 10, 0), 1);
                        open->AppendPattern(Line(10, 0, 10, 10), 1);
                        LoopProcessor::UpdateCache(open);
                        return std::vector<IPatLoopPtr>{open, Square(2, 2, 1)};
                    },
                    "A,B"},
        // Equal outlines enclose each other: the newer one gathers the older.
        NestingCase{"equal_outlines_newer_contains",
                    [] {
                        return std::vector<IPatLoopPtr>{Square(0, 0, 2), Square(0, 0, 2)};
                    },
                    "B(A)"}),
    [](const ::testing::TestParamInfo<NestingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
