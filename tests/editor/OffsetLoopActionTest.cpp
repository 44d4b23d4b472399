// The loop offset action driven through the geometry editor's public entry points: the loop of the nearest
// pattern, the dialog (answered by a script), the side mapping, the refusals, the return to selection and
// a loop that an undo took away. Undo and redo of the offset itself are the model check's.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/editor/LoopOffsetDlg.h"
#include "geomFeature/editor/OffsetLoopAction.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/support/DrawTestEnv.h"
#include "tests/support/OutlineMetrics.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using Answer = ScriptedDialogService::Answer;

enum Target { kSquare, kCircle, kArray, kOpenChain };

std::vector<IPatternPtr> Objects(const PatternListPtr& list) {
    return std::vector<IPatternPtr>(list->begin(), list->end());
}

// A dialog answer: the text typed into the distance (none: untouched), the side chosen (-1: untouched).
Answer Typed(const wchar_t* distance, int side, int result = MSGBOX_RESULT_OK) {
    Answer a;
    a.templateID = LoopOffsetDlg::kTemplateID;
    a.result = result;
    if (distance != nullptr)
        a.texts.push_back({LoopOffsetDlg::kDistanceEditID, distance});
    if (side >= 0)
        a.choices.push_back({LoopOffsetDlg::kSideGroupID, side});
    return a;
}

class OffsetLoopActionTest : public ::testing::Test {
protected:
    OffsetLoopActionTest() {
        // A square polygon loop (0..4), an open chain, a circle and a row of three small circles.
        for (const auto& [x1, y1, x2, y2] : std::vector<std::array<double, 4>>{
                 {0, 0, 4, 0}, {4, 0, 4, 4}, {4, 4, 0, 4}, {0, 4, 0, 0}, {6, 0, 9, 0}, {9, 0, 9, 2}}) {
            m_patterns->push_back(testutil::CachedLine(x1, y1, x2, y2));
        }
        const auto seed = boost::make_shared<CirclePattern>(Point2D(1, 8), 0.25);
        const auto row =
            m_seeds.Link(boost::make_shared<PatLinePattern>(Point2D(1, 8), Vector2D(1, 0), 3), seed);
        const IPatternPtr circle = boost::make_shared<CirclePattern>(Point2D(7, 6), 0.5);
        for (const IPatternPtr& p : {circle, IPatternPtr(seed), IPatternPtr(row)}) {
            p->UpdateCache();
            m_patterns->push_back(p);
        }
        m_targets = {(*m_patterns)[0], circle, row, (*m_patterns)[4]};
        m_loops = LoopBuilder::BuildPatLoops(m_patterns, 1e-4);
        LoopProcessor::UpdateCache(m_loops);
        m_view->SetWindow(&m_window);
        m_editor->SetPatternList(m_patterns);
        m_editor->SetPatLoopList(m_loops);
        CommandManager::GetInstance()->Clear();
    }
    ~OffsetLoopActionTest() override { CommandManager::GetInstance()->Clear(); }

    IPatLoopPtr LoopOf(Target target) const { return m_loops->FindLoopByPat(m_targets[target]); }
    void MoveTo(Point2D p) { m_editor->MovePoint(p.x, p.y); }
    void Click(Point2D p) { m_editor->LButtonDown(p.x, p.y); }
    OffsetLoopActionPtr Action() const {
        return boost::dynamic_pointer_cast<OffsetLoopAction>(m_editor->GetActionObject());
    }
    int CurrentType() const { return m_editor->GetActionObject()->GetActionType(); }
    // Chooses the action and moves over the target: a point whose nearest pattern is the target's.
    Point2D Hover(Target target) {
        static const Point2D kNear[] = {Point2D(2, -0.3), Point2D(7, 6.7), Point2D(2, 8.4), Point2D(9.3, 1)};
        m_editor->SetEditAction(EDIT_OFFSET_LOOP);
        MoveTo(kNear[target]);
        return kNear[target];
    }

    testutil::DisplayColorGuard m_colors;
    testutil::MessageBoxGuard m_boxes;
    testutil::DialogGuard m_dialogs;
    testutil::SeedLinkGuard m_seeds;
    int m_window = 0;  // its address is the viewport's window handle
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(200, 200, Rect2D(-2, 18, -2, 18));
    GeometryEditorPtr m_editor =
        boost::make_shared<GeometryEditor>(m_view, boost::make_shared<DrawAssistor>(m_view));
    PatternListPtr m_patterns = boost::make_shared<PatternList>();
    PatLoopListPtr m_loops;
    std::array<IPatternPtr, 4> m_targets;
};

// What one click does, by loop and dialog answer. Inside (choice 0, the default) shrinks, outside grows;
// the target loop's box afterwards pins side and distance (a grown square keeps its sides 0.5 out and
// gains four round corners: 8 elements).
struct ClickCase {
    const char* name;
    Target target;
    std::optional<Answer> answer;  // none: no dialog expected
    int message;                   // 0: none
    Rect2D box;                    // of the target loop afterwards
    std::size_t nodes;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

const Rect2D kSquareBox(0, 4, 0, 4);
const Rect2D kSquareIn0p1(0.1, 3.9, 0.1, 3.9);

const ClickCase kClickCases[] = {
    {"DefaultsShrinkBy0p1", kSquare, Typed(nullptr, -1), 0, kSquareIn0p1, 4},
    {"OutsideGrowsWithRoundCorners", kSquare, Typed(L"0.5", 1), 0, Rect2D(-0.5, 4.5, -0.5, 4.5), 8},
    {"InsideExplicitly", kSquare, Typed(L"1.25", 0), 0, Rect2D(1.25, 2.75, 1.25, 2.75), 4},
    {"ShrinkingAwayIsRefused", kSquare, Typed(L"2", 0), 12527, kSquareBox, 4},
    {"ZeroDistanceIsRefused", kSquare, Typed(L"0", 1), 12527, kSquareBox, 4},
    {"NegativeTextKeepsTheDefault", kSquare, Typed(L"-1", -1), 0, kSquareIn0p1, 4},
    {"CancelledChangesNothing", kSquare, Typed(L"0.5", 1, MSGBOX_RESULT_CANCEL), 0, kSquareBox, 4},
    {"CircleGrowsItsRadius", kCircle, Typed(L"0.25", 1), 0, Rect2D(6.25, 7.75, 5.25, 6.75), 1},
    {"CircleShrunkToNothingIsRefused", kCircle, Typed(L"0.5", 0), 12527, Rect2D(6.5, 7.5, 5.5, 6.5), 1},
    {"ArrayShrinksEveryCopy", kArray, Typed(L"0.1", 0), 0, Rect2D(0.85, 3.15, 7.85, 8.15), 1},
    {"OpenLoopIsRefusedWithoutDialog", kOpenChain, std::nullopt, 12526, Rect2D(6, 9, 0, 2), 2},
};

class OffsetLoopClickTest : public OffsetLoopActionTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(OffsetLoopClickTest, OffsetsOrRefusesThenReturnsToSelection) {
    const ClickCase& c = GetParam();
    if (c.answer)
        m_dialogs.script->QueueAnswer(*c.answer);
    const std::size_t patternCount = m_patterns->size();
    const IPatLoopPtr loop = LoopOf(c.target);
    const Point2D at = Hover(c.target);
    ASSERT_EQ(Action()->GetLoopUnderCursor(), loop);
    Click(at);

    // The dialog, when shown, starts at 0.1 in four decimals on the first side.
    const auto& dialogs = m_dialogs.script->GetShown();
    ASSERT_EQ(dialogs.size(), c.answer ? 1u : 0u);
    if (c.answer) {
        EXPECT_EQ(dialogs[0].templateID, 30151);
        ASSERT_EQ(dialogs[0].controls.size(), 2u);
        EXPECT_EQ(dialogs[0].controls[0].controlID, 1313);
        EXPECT_EQ(dialogs[0].controls[0].edit.GetText(), L"0.1000");
        EXPECT_EQ(dialogs[0].controls[1].controlID, 1315);
        EXPECT_EQ(dialogs[0].controls[1].selected, 0);
    }
    const auto& boxes = m_boxes.recorder->GetShown();
    ASSERT_EQ(boxes.size(), c.message != 0 ? 1u : 0u);
    if (c.message != 0) {
        EXPECT_EQ(boxes[0].textID, c.message);
        EXPECT_EQ(boxes[0].captionID, 20001);
        EXPECT_EQ(boxes[0].icon, MSGBOX_ICON_WARNING);
        EXPECT_EQ(boxes[0].owner, &m_window);
    }
    const bool offset = c.message == 0 && c.answer && c.answer->result == MSGBOX_RESULT_OK;
    ASSERT_EQ(CommandManager::GetInstance()->GetUndoCount(), offset ? 1u : 0u);
    if (offset) {
        EXPECT_EQ(CommandManager::GetInstance()->GetUndoCommand()->GetCommandName(),
                  ResourceString::Load(12262));
    }

    // The same loop object, offset in place; a polygon offset replaces the loop's patterns in the list.
    EXPECT_TRUE(testutil::BoxNear(loop->GetCacheData()->GetLoopRect(), c.box, 1e-9));
    EXPECT_EQ(loop->GetLoopNodes()->size(), c.nodes);
    EXPECT_EQ(m_patterns->size(), offset && c.target == kSquare ? patternCount - 4 + c.nodes : patternCount);
    for (const IPatternPtr& p : Objects(loop->GetPatternList())) EXPECT_GE(m_patterns->GetPatternIndex(p), 0);

    // Every outcome hands over to selection, with the loop's (possibly new) patterns selected.
    ASSERT_EQ(CurrentType(), EDIT_SELECT);
    const auto select = boost::dynamic_pointer_cast<PatternSelectAction>(m_editor->GetActionObject());
    EXPECT_EQ(Objects(select->GetSelPatList()), Objects(loop->GetPatternList()));
}

INSTANTIATE_TEST_SUITE_P(Cases, OffsetLoopClickTest, ::testing::ValuesIn(kClickCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The nearest pattern decides, however far the cursor is (an array, never its seed); over an empty part
// nothing is found and a click does nothing.
TEST_F(OffsetLoopActionTest, TheLoopUnderTheCursorIsThatOfTheNearestPattern) {
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    EXPECT_EQ(Action()->SupportDrawAssist(), 0);
    MoveTo(Point2D(300, 300));
    EXPECT_EQ(Action()->GetLoopUnderCursor(), LoopOf(kCircle));
    MoveTo(Point2D(2, 500));
    EXPECT_EQ(Action()->GetLoopUnderCursor(), LoopOf(kArray));

    m_editor->SetPatternList(boost::make_shared<PatternList>());
    m_editor->SetPatLoopList(boost::make_shared<PatLoopList>());
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    MoveTo(Point2D(1, 1));
    EXPECT_FALSE(Action()->GetLoopUnderCursor());
    Click(Point2D(1, 1));
    EXPECT_EQ(CurrentType(), EDIT_OFFSET_LOOP);
    EXPECT_TRUE(m_dialogs.script->GetShown().empty());
    EXPECT_TRUE(m_boxes.recorder->GetShown().empty());
}

// The loop under the cursor is drawn as the active loop. A loop that an undo took out of the loop list is
// let go, so a click cannot offset it; the cancel key returns to selection.
TEST_F(OffsetLoopActionTest, HighlightsTheLoopAndLetsGoOfOneUndoneAway) {
    Hover(kSquare);
    m_view->Clear();
    m_editor->DrawTransient();
    const auto draws = m_view->GetDrawCalls();
    ASSERT_EQ(draws.size(), 4u);
    for (const auto& call : draws) {
        EXPECT_EQ(call.pen.color, testutil::DrawColors::kActive);
        EXPECT_EQ(call.pen.lineWidth, 2.0);
    }

    m_dialogs.script->QueueAnswer(Typed(L"0.5", 1));
    Click(Hover(kSquare));
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    MoveTo(Point2D(2, -0.7));
    const IPatLoopPtr grown = Action()->GetLoopUnderCursor();
    ASSERT_EQ(grown->GetLoopNodes()->size(), 8u);
    m_editor->Undo();
    ASSERT_EQ(std::find(m_loops->begin(), m_loops->end(), grown), m_loops->end());
    EXPECT_FALSE(Action()->GetLoopUnderCursor());
    Click(Point2D(2, -0.7));
    EXPECT_EQ(m_dialogs.script->GetShown().size(), 1u);  // the first offset's only
    m_editor->OnKeyDown(KEY_ESCAPE, 1, 0);
    EXPECT_EQ(CurrentType(), EDIT_SELECT);
}

}  // namespace
}  // namespace Norvane
