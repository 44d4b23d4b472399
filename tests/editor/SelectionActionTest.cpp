// The selection and transform actions as scenarios on one small part: a square of four lines, a lone line,
// a circle and a row of three circles over a seed. The view shows 10 pixels per unit, so the 5-pixel grip
// distance is 0.5 units. Each row's expectations are written in the scenario; a few rows also look at the
// geometry afterwards.
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/LoopSelectAction.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/pattern/LinePattern.h"
#include "tests/editor/ScenarioTestBase.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

class SelectionTest;

struct SelectRow {
    const char* name;
    const char* script;
    std::function<void(const SelectionTest&)> check = {};

    friend void PrintTo(const SelectRow& r, std::ostream* os) { *os << r.name; }
};

class SelectionTest : public testutil::ScenarioTestBase, public ::testing::WithParamInterface<SelectRow> {
public:
    SelectionTest() {
        std::tie(seed, row) = CircleRow(Point2D(0, 30), Vector2D(5, 0), 3);
        Build({boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(10, 0)),
               boost::make_shared<LinePattern>(Point2D(10, 0), Point2D(10, 10)),
               boost::make_shared<LinePattern>(Point2D(10, 10), Point2D(0, 10)),
               boost::make_shared<LinePattern>(Point2D(0, 10), Point2D(0, 0)),
               boost::make_shared<LinePattern>(Point2D(20, 0), Point2D(30, 0)),
               boost::make_shared<CirclePattern>(Point2D(25, 5), 2.0), seed, row});
        bottom = (*patterns)[0];
        lone = (*patterns)[4];
        circle = (*patterns)[5];
    }

    PatternListPtr Selected() const {
        const auto select = boost::dynamic_pointer_cast<PreSelectActionBase>(editor->GetActionObject());
        return select ? select->GetSelPatList() : PatternListPtr();
    }

    IPatternPtr bottom, lone, circle, seed;
    IArrayPatternPtr row;
};

const std::vector<SelectRow> kRows = {
    {"ClickSelectsTheNearestPattern", "click 5 0.3\nexpect selected 1\nexpect prompt 12480",
     [](const SelectionTest& t) {
         EXPECT_EQ(t.Selected()->front(), t.bottom);
         EXPECT_EQ(PatternPropBar::GetInstance()->IsVisible(), 1);
     }},
    {"ZeroSizeDragSelectsTheClosest", "drag 25 8 25 8\nexpect selected 1",
     [](const SelectionTest& t) { EXPECT_EQ(t.Selected()->front(), t.circle); }},
    {"WindowSelectsWhatLiesInside",
     "drag -1 -1 11 11\nexpect selected 4\ndrag 11 11 -1 -1\nexpect selected 4"},
    {"WindowReplacesUnlessControlAdds",
     "drag -1 -1 11 11\ndrag 19 -1 31 8\nexpect selected 2\ndrag -1 -1 11 11 ctrl\nexpect selected 6"},
    {"ControlClickDoesNotSelectTwice", "click 3 0\nclick 3 0 ctrl\nexpect selected 1"},
    {"ControlASelectsAllButSeeds", "key ctrl+a\nexpect selected 7\nkey a\nexpect selected 7"},
    {"EmptyWindowKeepsTheSelection", "click 5 0\ndrag 40 40 45 45\nexpect selected 1"},
    {"GripCloserThanFivePixelsStartsTheTool",
     "click 25 5\nclick 25.49 7\nexpect action 9\nexpect prompt 12464"},
    {"GripFivePixelsAwayIsNone", "click 25 5\nclick 25.5 7\nexpect action 50"},
    {"GripOfALineStartsTheLineTool", "click 5 0\nclick 0 0\nexpect action 1\nclick 0 -5\nexpect action 50",
     [](const SelectionTest& t) {
         EXPECT_TRUE(testutil::PointNear(t.bottom->GetStartPoint(), Point2D(0, -5)));
     }},
    {"DoubleClickSelectsAndShowsTheBar", "dblclick 25 7\nexpect selected 1",
     [](const SelectionTest&) {
         EXPECT_EQ(PatternPropBar::GetInstance()->IsVisible(), 1);
         EXPECT_EQ(PatternPropBar::GetInstance()->GetGrid().GetGroups().size(), 2u);
     }},
    {"DeleteKeyDeletesTheSelection",
     "click 5 0\nkey delete\nexpect patterns 7\nexpect undo 1\nundo\nexpect patterns 8"},
    {"DeletingAnArrayDeletesItsSeed",
     "click 5 30.5\nexpect selected 1\nkey delete\nexpect patterns 6\nexpect loops 3\nundo\nexpect patterns "
     "8\n"
     "expect loops 4",
     [](const SelectionTest& t) { EXPECT_EQ(t.row->GetControlPat(), t.seed); }},
    {"DeleteActionConfirmsWithTheRightButton",
     "action delete\nexpect prompt 12483\nclick 25 5\nexpect prompt 12484\nrclick 0 0\nexpect patterns 7\n"
     "expect action 50"},
    {"DeleteActionActsOnTheSelectionAtOnce",
     "click 5 0\nclick 20 0.2 ctrl\naction delete\nexpect patterns 6\nexpect action 60\nmove 0 0\nexpect "
     "action 50"},
    {"ExplodeRefusesLines",
     "action explode\nclick 25 0.2\nexpect message 12500\nexpect prompt 12501\nexpect undo 0"},
    {"ExplodeBreaksAShapeUp",
     "action explode\nclick 25 7.2\nexpect undo 1\nexpect action 50\nundo\nexpect patterns 8"},
    {"ExplodeActsOnOneSelectedArrayAtOnce",
     "click 5 30.5\naction explode\nexpect undo 1\nexpect patterns 9\nmove 0 0\nexpect action 50"},
    {"MoveByTypedPoints",
     "click 25 5\naction move\nexpect prompt 12490\ntype 25,5\nkey enter\nexpect prompt 12491\ntype @10,0\n"
     "key enter\nexpect action 50\nexpect selected 1",
     [](const SelectionTest& t) {
         EXPECT_TRUE(testutil::PointNear(t.circle->GetBasePoint(), Point2D(35, 5)));
         EXPECT_EQ(t.Selected()->front(), t.circle);
     }},
    {"RotateByATypedAngleInDegrees",
     "click 25 0.1\naction rotate\nexpect prompt 12492\nclick 20 0\nexpect prompt 12493\ntype 90\nkey enter\n"
     "expect action 50",
     [](const SelectionTest& t) {
         EXPECT_TRUE(testutil::PointNear(t.lone->GetEndPoint(), Point2D(20, 10), 1e-9));
     }},
    {"RotateRefusesArraysAtOnce", "click 5 30.5\naction rotate\nexpect message 12522\nexpect action 50"},
    {"RotateRefusesArraysOnConfirmation",
     "action rotate\nclick 5 30.5\nrclick 0 0\nexpect message 12522\nexpect action 50\nexpect undo 0"},
    {"CopyingAnArrayCopiesItsSeed",
     "click 5 30.5\naction copy\nclick 0 30\nclick 0 40\nexpect patterns 10\nexpect loops 5\nexpect selected "
     "1\n"
     "undo\nexpect patterns 8\nexpect loops 4\nredo\nexpect patterns 10"},
    {"CopyWithoutASelectionSelectsFirst",
     "action copy\nexpect prompt 12483\nclick 5 0\nexpect prompt 12484\nrclick 0 0\nexpect prompt 12490\n"
     "click 0 0\nclick 0 -5\nexpect patterns 9\nexpect selected 1"},
    {"UndoDropsVanishedPatternsAndHidesTheBar",
     "tool circle\nclick 40 40\nclick 41 40\nexpect selected 1\nundo\nexpect selected 0",
     [](const SelectionTest&) { EXPECT_EQ(PatternPropBar::GetInstance()->IsVisible(), 0); }},
    {"UndoInAMoveAsksForTheSelectionAgain",
     "click 25 5\naction move\nclick 25 5\nclick 30 5\nclick 5 0\naction move\nundo\nexpect prompt 12480\n"
     "expect selected 1\nrclick 0 0\nexpect prompt 12490"},
    {"LoopSelectionPicksWholeLoops",
     "action loopselect\nexpect action 51\nclick 5 0.2\nexpect selected 1\ndrag -1 -1 31 11 ctrl\nexpect "
     "selected 3\n"
     "key ctrl+a\nexpect selected 4\nkey esc\nexpect selected 0\nexpect action 51"},
};

TEST_P(SelectionTest, Scenario) {
    ASSERT_TRUE(Run(GetParam().script));
    if (GetParam().check) {
        GetParam().check(*this);
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, SelectionTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<SelectRow>& info) {
                             return std::string(info.param.name);
                         });

// What the actions draw: the window dashed (factor 2, 0xCCCC) with the pen put back after it, the pattern
// under the cursor highlighted, the array tool's candidate highlighted under the pick-box cursor, a tool's
// rubber band in the pattern colour under the cross-line cursor.
TEST_F(SelectionTest, ActionsDrawTheirTransientPicture) {
    using Call = RecordingViewPort::Call;
    const auto drawn = [this](const std::string& script) {
        EXPECT_TRUE(Run(script));
        view->Clear();
        editor->DrawTransient();
        return view->GetDrawCalls();
    };
    const auto any = [](const std::vector<Call>& calls, auto&& test) {
        return std::any_of(calls.begin(), calls.end(), test);
    };
    std::vector<Call> calls = drawn("down 0 -5\nmove 4 -1");
    EXPECT_TRUE(any(calls, [](const Call& c) {
        return c.name == "DrawRect" && c.pen.stippleEnabled == 1 && c.pen.stippleFactor == 2 &&
               c.pen.stipplePattern == 0xCCCC;
    }));
    EXPECT_EQ(view->GetPen().stippleEnabled, 0);
    EXPECT_TRUE(any(calls, [](const Call& c) {
        return c.pen.color == testutil::DrawColors::kActive && c.pen.rop == ROP_HIGHLIGHT;
    }));
    EXPECT_EQ(calls.back().name, "DrawRectPoint2D");

    const auto pickBox = [](const Call& c) { return c.name == "DrawRectPoint2D" && c.args[3] == 1.0; };
    calls = drawn("up 4 -1\ntool patline\nmove 25 7.2");
    EXPECT_TRUE(any(calls, [](const Call& c) { return c.pen.color == testutil::DrawColors::kActive; }));
    EXPECT_TRUE(any(calls, pickBox));

    calls = drawn("tool circle\nclick 40 40\nmove 43 44");
    EXPECT_TRUE(any(calls, [](const Call& c) {
        return c.name == "DrawArc2D" && c.pen.color == testutil::DrawColors::kPat && c.args[2] == 5.0;
    }));
    EXPECT_TRUE(any(calls, [](const Call& c) {  // the vertical line of the cross-line cursor, edge to edge
        return c.name == "DrawLinePoint2D" && c.args[0] == 43.0 && c.args[1] == -50.0 && c.args[3] == 50.0;
    }));
    EXPECT_FALSE(any(calls, pickBox));
}

// Loop selection follows a selected loop that undo and redo rebuilt.
TEST_F(SelectionTest, LoopSelectionFollowsRebuiltLoops) {
    ASSERT_TRUE(
        Run("click 5 0\nkey delete\naction loopselect\nclick 25 7\nexpect selected 1\nundo\nredo\n"
            "expect selected 1"));
    const auto action = boost::dynamic_pointer_cast<LoopSelectAction>(editor->GetActionObject());
    ASSERT_TRUE(action);
    EXPECT_EQ(action->GetSelLoopList()->front(), loops->FindLoopByPat(circle));
}

}  // namespace
}  // namespace Norvane
