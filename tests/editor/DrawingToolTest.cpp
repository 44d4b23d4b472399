// The drawing tools driven as a user drives them, one table row per tool: the clicks, the pattern made and
// its values, the commands recorded and the action that follows. Each row is also played with typed points
// (which must give the very same geometry), broken off with the cancel key (which must record nothing), and
// its preview compared with what the last click builds. A second table drags one grip of every pattern kind
// and checks that undo and redo give the same object its old and new geometry back.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/GripEditActionBase.h"
#include "geomFeature/editor/PatternActionFactory.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PreSelectActionBase.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "tests/editor/PartFacts.h"
#include "tests/editor/ScenarioTestBase.h"

namespace Norvane {
namespace {

using Bits = std::vector<std::uint64_t>;

struct ToolRow {
    const char* name;
    const char* tool;
    std::vector<std::pair<double, double>> clicks;
    int made;                                    // patterns recorded (one command each)
    tagPatternType type;                         // of the last one
    std::vector<std::pair<int, double>> values;  // property item, value of the last pattern
    int after;                                   // the action current afterwards
    bool seed = false;                           // the part holds the circle an array tool repeats

    friend void PrintTo(const ToolRow& r, std::ostream* os) { *os << r.name; }
};

// The seed circle of the array rows stands at (-30, -30); their first click picks it.
const std::vector<ToolRow> kTools = {
    {"Line", "line", {{0, 0}, {10, 5}}, 1, PAT_LINE, {{12101, 0}, {12102, 0}, {12103, 10}, {12104, 5}}, 50},
    {"MultiLine", "multiline", {{0, 0}, {10, 0}, {10, 10}}, 2, PAT_LINE, {{12101, 10}, {12104, 10}}, 2},
    {"RectLine", "rectline", {{0, 0}, {20, 10}}, 4, PAT_LINE, {{12101, 0}, {12102, 10}, {12104, 0}}, 50},
    {"RectHole",
     "recthole",
     {{20, 10}, {0, 0}},
     1,
     PAT_RECT_HOLE,
     {{12101, 0}, {12105, 20}, {12118, 10}},
     50},
    {"Arc", "arc", {{0, 0}, {10, 0}, {0, 10}}, 1, PAT_ARC, {{12106, 10}, {12107, 0}, {12108, 90}}, 50},
    {"Arc3Pt",
     "arc3pt",
     {{10, 0}, {0, 10}, {-10, 0}},
     1,
     PAT_ARC,
     {{12109, 0}, {12106, 10}, {12108, 180}},
     6},
    {"RCHole",
     "rchole",
     {{0, 0}, {10, 5}, {10, 3}},
     1,
     PAT_RC_HOLE,
     {{12105, 20}, {12118, 10}, {12131, 2}},
     50},
    {"RCHoleRadiusClamped", "rchole", {{0, 0}, {10, 5}, {0, 0}}, 1, PAT_RC_HOLE, {{12131, 5}}, 50},
    {"RCLine", "rcline", {{0, 0}, {20, 10}, {20, 8}}, 8, PAT_ARC, {{12109, 2}, {12110, 2}, {12106, 2}}, 50},
    {"Circle", "circle", {{0, 0}, {3, 4}}, 1, PAT_CIRCLE, {{12109, 0}, {12106, 5}}, 50},
    {"Ellipse",
     "ellipse",
     {{0, 0}, {10, 0}, {0, 4}},
     1,
     PAT_ELLIPSE,
     {{12105, 20}, {12118, 8}, {12117, 0}},
     50},
    {"SingleD",
     "singled",
     {{0, 0}, {5, 0}, {0, -3}},
     1,
     PAT_SINGLE_D,
     {{12106, 5}, {12118, 8}, {12117, 0}},
     50},
    {"DoubleD",
     "doubled",
     {{0, 0}, {5, 0}, {0, -3}},
     1,
     PAT_DOUBLE_D,
     {{12106, 5}, {12118, 6}, {12117, 0}},
     50},
    {"OBround",
     "obround",
     {{0, 0}, {0, 10}, {2, 0}},
     1,
     PAT_OBROUND,
     {{12105, 20}, {12118, 4}, {12117, 90}},
     50},
    {"TRHole", "trhole", {{0, 0}, {5, 0}, {0, 8}}, 1, PAT_TR_HOLE, {{12118, 10}, {12123, 8}, {12117, 0}}, 50},
    {"TRHoleApexBelow", "trhole", {{0, 0}, {5, 0}, {0, -8}}, 1, PAT_TR_HOLE, {{12123, 8}, {12117, 180}}, 50},
    {"RadSlot",
     "radslot",
     {{0, 0}, {10, 0}, {0, 10}, {11, 0}},
     1,
     PAT_RAD_SLOT,
     {{12106, 10}, {12107, 0}, {12108, 90}, {12118, 2}},
     50},
    {"PatLine",
     "patline",
     {{-29, -30}, {-25, -30}, {-10, -30}},
     1,
     PAT_LINE_ARRAY,
     {{12101, -30}, {12121, 5}, {12117, 0}, {12122, 5}},
     50,
     true},
    {"PatArc",
     "patarc",
     {{-29, -30}, {-40, -30}, {-32, -24}, {-40, -20}},
     1,
     PAT_ARC_ARRAY,
     {{12106, 10}, {12107, 0}, {12124, 36.869897645844}, {12122, 3}},
     50,
     true},
    {"PatCircle",
     "patcircle",
     {{-29, -30}, {-40, -30}, {-40, -20}},
     1,
     PAT_CIRCLE_ARRAY,
     {{12106, 10}, {12107, 0}, {12122, 4}},
     50,
     true},
    {"PatGrid",
     "patgrid",
     {{-29, -30}, {-25, -27}, {-10, -21}},
     1,
     PAT_GRID_ARRAY,
     {{12119, 5}, {12120, 3}, {12125, 5}, {12126, 4}},
     50,
     true},
};

std::string Clicks(const std::vector<std::pair<double, double>>& points, bool typed) {
    std::ostringstream s;
    for (const auto& [x, y] : points) {
        if (typed) {
            s << "type " << x << "," << y << "\nkey enter\n";
        } else {
            s << "click " << x << " " << y << "\n";
        }
    }
    return s.str();
}

class ToolTest : public testutil::ScenarioTestBase, public ::testing::WithParamInterface<ToolRow> {
protected:
    void SetUp() override {
        if (GetParam().seed) {
            Build({boost::make_shared<CirclePattern>(Point2D(-30, -30), 1.0)});
        }
    }
    std::size_t before() const { return GetParam().seed ? 1u : 0u; }
    // The geometry of every pattern the row made.
    std::vector<Bits> Made() const {
        std::vector<Bits> made;
        for (std::size_t i = before(); i < patterns->size(); ++i)
            made.push_back(testutil::GeometryBits((*patterns)[i]));
        return made;
    }
};

// Clicks build the pattern with the values of the row, one command per pattern, and hand over as the
// table says; the preview just before the last click is exactly what the click builds.
TEST_P(ToolTest, ClicksBuildThePatternAndItsPreview) {
    const ToolRow& row = GetParam();
    auto allButLast = row.clicks;
    allButLast.pop_back();
    ASSERT_TRUE(Run(std::string("tool ") + row.tool + "\n" + Clicks(allButLast, false) + "move " +
                    std::to_string(row.clicks.back().first) + " " +
                    std::to_string(row.clicks.back().second)));
    const auto tool = boost::dynamic_pointer_cast<GripEditActionBase>(editor->GetActionObject());
    ASSERT_TRUE(tool);
    std::vector<Bits> preview;
    for (const IPatternPtr& p : *tool->GetPreview()) preview.push_back(testutil::GeometryBits(p));
    view->Clear();
    editor->DrawTransient();
    EXPECT_GT(view->CountCalls("DrawArc2D") + view->CountCalls("DrawLinePoint2D"), 2u);  // preview and cursor

    ASSERT_TRUE(Run(Clicks({row.clicks.back()}, false)));
    ASSERT_EQ(patterns->size(), before() + row.made);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), static_cast<std::size_t>(row.made));
    const IPatternPtr last = Last();
    EXPECT_EQ(last->GetPatternType(), row.type);
    for (const auto& [item, value] : row.values) {
        EXPECT_NEAR(Prop(last, item), value, 1e-9) << "item " << item;
    }
    EXPECT_EQ(Current(), row.after);
    if (row.after == EDIT_SELECT) {
        EXPECT_EQ(boost::dynamic_pointer_cast<PreSelectActionBase>(editor->GetActionObject())
                      ->GetSelPatList()
                      ->size(),
                  static_cast<std::size_t>(row.made));
    }
    if (row.type != PAT_ARC || row.made == 1) {  // a rubber band of pieces is compared piece by piece below
        EXPECT_EQ(Made().back(), preview.back());
    }
    EXPECT_EQ(Made().size(), row.made == 2 ? 2u : preview.size());
}

// Typed points ended with the end key act exactly as clicks there.
TEST_P(ToolTest, TypedPointsEqualClicks) {
    const ToolRow& row = GetParam();
    ASSERT_TRUE(Run(std::string("snap off\ntool ") + row.tool + "\n" + Clicks(row.clicks, false)));
    const std::vector<Bits> clicked = Made();
    ASSERT_TRUE(Run("undo " + std::to_string(row.made) + "\nexpect patterns " + std::to_string(before())));
    ASSERT_TRUE(Run(std::string("tool ") + row.tool + "\n" + Clicks(row.clicks, true)));
    EXPECT_EQ(Made(), clicked);
}

// The cancel key abandons the tool before its last point: nothing is recorded (but the lines a chain has
// made already), selection takes over.
TEST_P(ToolTest, CancelRecordsNothing) {
    const ToolRow& row = GetParam();
    auto allButLast = row.clicks;
    allButLast.pop_back();
    const int chained = std::string(row.tool) == "multiline" ? row.made - 1 : 0;
    ASSERT_TRUE(Run(std::string("tool ") + row.tool + "\n" + Clicks(allButLast, false) +
                    "key esc\nexpect action 50\nexpect prompt 12480\nexpect undo " +
                    std::to_string(chained)));
    EXPECT_EQ(patterns->size(), before() + static_cast<std::size_t>(chained));
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolTest, ::testing::ValuesIn(kTools),
                         [](const ::testing::TestParamInfo<ToolRow>& info) {
                             return std::string(info.param.name);
                         });

// Grip editing: the tool row that draws the pattern, the snap point dragged and by how much, and a value
// of the pattern afterwards.
struct GripRow {
    const char* name;
    const char* tool;  // the ToolRow whose pattern is edited
    int snap;
    double dx, dy;
    int item;
    double value;

    friend void PrintTo(const GripRow& r, std::ostream* os) { *os << r.name; }
};

const std::vector<GripRow> kGrips = {
    {"LineEnd", "Line", 2, 2, 0, 12103, 12},
    {"LineMiddleMovesAll", "Line", 1, 1, 1, 12101, 1},
    {"ArcEnd", "Arc", 3, -10, -10, 12108, 180},
    {"CircleQuadrant", "Circle", 1, 0, 2, 12106, 7},
    {"EllipseWidth", "Ellipse", 3, 0, 2, 12118, 12},
    {"RectCorner", "RectHole", 2, 5, 2, 12105, 25},
    {"RCHoleSide", "RCHole", 1, 2, 0, 12105, 24},
    {"SingleDFlat", "SingleD", 1, 0, -1, 12118, 9},
    {"DoubleDRadius", "DoubleD", 3, -1, 0, 12106, 6},
    {"OBroundEnd", "OBround", 1, 0, 5, 12105, 30},
    {"TRHoleApex", "TRHole", 3, 0, 2, 12123, 10},
    {"RadSlotEnd", "RadSlot", 3, -10, -10, 12108, 180},
    {"PatLineLast", "PatLine", 1, 5, 0, 12122, 6},
    {"PatArcSecond", "PatArc", 2, -8, 4, 12124, 90},
    {"PatCircleFirst", "PatCircle", 1, -15, 0, 12106, 5},
    {"PatGridCorner", "PatGrid", 2, 5, 3, 12125, 6},
};

class GripTest : public testutil::ScenarioTestBase, public ::testing::WithParamInterface<GripRow> {};

TEST_P(GripTest, DragOneGripThenUndoAndRedoTheSameObject) {
    const GripRow& row = GetParam();
    const ToolRow* tool = nullptr;
    for (const ToolRow& t : kTools) {
        if (std::string(t.name) == row.tool)
            tool = &t;
    }
    ASSERT_TRUE(tool);
    if (tool->seed) {
        Build({boost::make_shared<CirclePattern>(Point2D(-30, -30), 1.0)});
    }
    ASSERT_TRUE(
        Run(std::string("tool ") + tool->tool + "\n" + Clicks(tool->clicks, false) + "expect action 50"));
    const IPatternPtr edited = Last();
    const Bits drawn = testutil::GeometryBits(edited);
    Point2DList snaps;
    edited->GetSnapPoints(snaps);
    const Point2D grip = snaps[static_cast<std::size_t>(row.snap)];
    std::ostringstream s;
    s.precision(17);
    s << "click " << grip.x << " " << grip.y << "\nexpect action "
      << PatternActionFactory::GetGripToolCode(edited->GetPatternType()) << "\nclick " << grip.x + row.dx
      << " " << grip.y + row.dy << "\nexpect action 50\nexpect selected 1";
    ASSERT_TRUE(Run(s.str()));
    EXPECT_EQ(Last(), edited);
    EXPECT_NEAR(Prop(edited, row.item), row.value, 1e-9);
    const Bits moved = testutil::GeometryBits(edited);
    ASSERT_NE(moved, drawn);

    ASSERT_TRUE(Run("undo"));
    EXPECT_EQ(Last(), edited);
    EXPECT_EQ(testutil::GeometryBits(edited), drawn);
    ASSERT_TRUE(Run("redo"));
    EXPECT_EQ(Last(), edited);
    EXPECT_EQ(testutil::GeometryBits(edited), moved);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GripTest, ::testing::ValuesIn(kGrips),
                         [](const ::testing::TestParamInfo<GripRow>& info) {
                             return std::string(info.param.name);
                         });

// The stated rules, as scenarios whose expectations say what must hold.
struct RuleRow {
    const char* name;
    const char* script;

    friend void PrintTo(const RuleRow& r, std::ostream* os) { *os << r.name; }
};

const std::vector<RuleRow> kRules = {
    {"ArrayToolsNeedAStandardShape",
     "tool line\nclick 0 0\nclick 10 0\ntool patline\nclick 40 40\nexpect message 12440\nexpect prompt "
     "12320\n"
     "click 5 0.1\nexpect message 12440\nclick 5 0\nexpect message 12440\nexpect undo 1"},
    {"CollinearThreePointArcIsIgnored",
     "tool arc3pt\nclick 0 0\nclick 5 0\nclick 10 0\nexpect undo 0\nexpect prompt 12342\nclick 5 5\n"
     "expect undo 1\nexpect action 6\nexpect prompt 12340"},
    {"RoundedLinesWithTooLargeARadiusStartOver",
     "tool rcline\nclick 0 0\nclick 20 10\nclick 20 4\nexpect undo 0\nexpect prompt 12350\nclick 0 0\n"
     "click 20 10\nclick 20 5\nexpect undo 6"},
    {"RightButtonEndsAChainOfLines",
     "tool multiline\nclick 0 0\nclick 10 0\nrclick 10 0\nexpect prompt 12301\nclick 20 20\nclick 30 20\n"
     "expect undo 2\nexpect loops 2\nexpect action 2"},
    {"ZeroLengthLineIsIgnored", "tool line\nclick 3 3\nclick 3 3\nexpect undo 0\nexpect prompt 12302"},
    {"EndKeyWithNothingTypedClicksAtTheCursor",
     "tool circle\nclick 0 0\nmove 0 7\nkey enter\nexpect undo 1\nexpect selected 1"},
    {"UndoingTheCreationOfAGripEditedLineHandsOver",
     "tool line\nclick 0 0\nclick 10 0\nclick 10 0\nexpect action 1\nexpect prompt 12302\nundo\n"
     "expect action 50\nexpect patterns 0"},
    {"UnsoundGripPlaceIsNotTaken",
     "tool circle\nclick 0 0\nclick 5 0\nclick 5 0\nclick 0 0\nexpect action 9\nexpect undo 1\nkey esc\n"
     "expect action 50"},
    {"CancelInGripModeRecordsNothing",
     "tool line\nclick 0 0\nclick 10 0\nclick 5 0\nmove 8 8\nkey esc\nexpect undo 1"},
};

class ToolRuleTest : public testutil::ScenarioTestBase, public ::testing::WithParamInterface<RuleRow> {};

TEST_P(ToolRuleTest, Holds) {
    EXPECT_TRUE(Run(GetParam().script));
}

INSTANTIATE_TEST_SUITE_P(Rules, ToolRuleTest, ::testing::ValuesIn(kRules),
                         [](const ::testing::TestParamInfo<RuleRow>& info) {
                             return std::string(info.param.name);
                         });

using ToolDetailTest = testutil::ScenarioTestBase;

// The handlers answer 0 for a point they do not take; typed relative points count from the last point.
TEST_F(ToolDetailTest, RefusedPointsAnswerZeroAndTypedPointsAreRelative) {
    ASSERT_TRUE(Run("tool patline"));
    double x = 40;
    double y = 40;
    EXPECT_EQ(editor->GetActionObject()->LButtonDown(x, y), 0);
    ASSERT_TRUE(Run("tool arc3pt\nclick 0 0\nclick 5 0"));
    x = 10;
    y = 0;
    EXPECT_EQ(editor->GetActionObject()->LButtonDown(x, y), 0);

    ASSERT_TRUE(Run("tool line\ntype 1,1\nkey enter\ntype @4,3\nkey enter"));
    EXPECT_DOUBLE_EQ(Prop(Last(), 12103), 5.0);
    EXPECT_DOUBLE_EQ(Prop(Last(), 12105), 5.0);
}

// The grip is the first snap point less than 0.0001 away (Manhattan): 0.00009 from the line's middle picks
// the middle (the line moves whole); exactly 0.0001 picks nothing.
TEST_F(ToolDetailTest, GripPointMatchesWithinAManhattanTenThousandth) {
    ASSERT_TRUE(Run("tool line\nclick 0 0\nclick 10 0"));
    const IPatternPtr line = Last();
    for (const auto& [dx, index] : {std::pair{0.00009, 1}, std::pair{0.0001, -1}}) {
        ASSERT_TRUE(Run("tool line"));
        const auto tool = boost::dynamic_pointer_cast<GripEditActionBase>(editor->GetActionObject());
        tool->SetGripEditPat(line);
        tool->SetGripEditPt(5.0, dx);  // the middle is (5, 0): the distance is dx exactly
        EXPECT_EQ(tool->GetGripIndex(), index) << dx;
    }
}

}  // namespace
}  // namespace Norvane
