// The loop offset action driven through the geometry editor's public entry points: picking the loop of the
// nearest pattern, the dialog (answered by a script), the side mapping, the refusals, the return to
// selection, and undo/redo of the offset.
#include <algorithm>
#include <array>
#include <cmath>
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
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/support/DrawTestEnv.h"

namespace Norvane {
namespace {

using testutil::CachedLine;
using Answer = ScriptedDialogService::Answer;

constexpr int kOpenMsg = 12526;
constexpr int kFailedMsg = 12527;

bool BoxNear(const Rect2D& box, const Rect2D& want) {
    constexpr double kTol = 1e-9;
    return std::fabs(box.left - want.left) <= kTol && std::fabs(box.right - want.right) <= kTol &&
           std::fabs(box.bottom - want.bottom) <= kTol && std::fabs(box.top - want.top) <= kTol;
}

std::vector<IPatternPtr> Objects(const PatternListPtr& list) {
    return list ? std::vector<IPatternPtr>(list->begin(), list->end()) : std::vector<IPatternPtr>();
}

enum Target { kSquare, kCircle, kArray, kOpenChain };

class OffsetLoopActionTest : public ::testing::Test {
protected:
    OffsetLoopActionTest() {
        // A square polygon loop (0..4), an open chain, a circle and a row of three small circles.
        for (const auto& [x1, y1, x2, y2] : std::vector<std::array<double, 4>>{
                 {0, 0, 4, 0}, {4, 0, 4, 4}, {4, 4, 0, 4}, {0, 4, 0, 0}, {6, 0, 9, 0}, {9, 0, 9, 2}}) {
            m_patterns->push_back(CachedLine(x1, y1, x2, y2));
        }
        m_circle = boost::make_shared<CirclePattern>(Point2D(7, 6), 0.5);
        m_seed = boost::make_shared<CirclePattern>(Point2D(1, 8), 0.25);
        m_array = boost::make_shared<PatLinePattern>(Point2D(1, 8), Vector2D(1, 0), 3);
        m_array->SetControlPat(m_seed);
        m_seed->SetBeControlPat(m_array);
        for (const IPatternPtr& p : {m_circle, m_seed, IPatternPtr(m_array)}) {
            p->UpdateCache();
            m_patterns->push_back(p);
        }
        m_loops = LoopBuilder::BuildPatLoops(m_patterns, 1e-4);
        LoopProcessor::UpdateCache(m_loops);
        m_loops->UpdateBoundaryLoop();

        m_view->SetWindow(&m_window);
        m_editor->SetPatternList(m_patterns);
        m_editor->SetPatLoopList(m_loops);
        CommandManager::GetInstance()->Clear();
    }
    ~OffsetLoopActionTest() override {
        CommandManager::GetInstance()->Clear();
        m_array->GetPatRelationList()->Clear();
        m_seed->GetPatRelationList()->Clear();
    }

    // A cursor position whose nearest pattern belongs to the target loop.
    static Point2D Near(Target target) {
        switch (target) {
            case kSquare:
                return Point2D(2, -0.3);
            case kCircle:
                return Point2D(7, 6.7);
            case kArray:
                return Point2D(2, 8.4);
            case kOpenChain:
                break;
        }
        return Point2D(9.3, 1);
    }
    IPatLoopPtr LoopOf(Target target) const {
        const IPatternPtr p = target == kSquare   ? (*m_patterns)[0]
                              : target == kCircle ? m_circle
                              : target == kArray  ? IPatternPtr(m_array)
                                                  : (*m_patterns)[4];
        return m_loops->FindLoopByPat(p);
    }
    void MoveTo(const Point2D& p) {
        double x = p.x;
        double y = p.y;
        m_editor->MovePoint(x, y);
    }
    void Click(const Point2D& p) {
        double x = p.x;
        double y = p.y;
        m_editor->LButtonDown(x, y);
    }
    OffsetLoopActionPtr Action() const {
        return boost::dynamic_pointer_cast<OffsetLoopAction>(m_editor->GetActionObject());
    }
    int CurrentType() const { return m_editor->GetActionObject()->GetActionType(); }
    std::vector<IPatternPtr> Selected() const {
        const auto select = boost::dynamic_pointer_cast<PatternSelectAction>(m_editor->GetActionObject());
        return select ? Objects(select->GetSelPatList()) : std::vector<IPatternPtr>();
    }
    // Chooses the action, hovers over the target and clicks it.
    void OffsetByClick(Target target) {
        m_editor->SetEditAction(EDIT_OFFSET_LOOP);
        ASSERT_EQ(CurrentType(), EDIT_OFFSET_LOOP);
        MoveTo(Near(target));
        ASSERT_EQ(Action()->GetLoopUnderCursor(), LoopOf(target));
        Click(Near(target));
    }

    testutil::DisplayColorGuard m_colors;
    testutil::MessageBoxGuard m_boxes;
    testutil::DialogGuard m_dialogs;
    int m_window = 0;  // its address is the viewport's window handle
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(200, 200, Rect2D(-2, 18, -2, 18));
    GeometryEditorPtr m_editor =
        boost::make_shared<GeometryEditor>(m_view, boost::make_shared<DrawAssistor>(m_view));
    PatternListPtr m_patterns = boost::make_shared<PatternList>();
    PatLoopListPtr m_loops;
    IPatternPtr m_circle;
    IPatternPtr m_seed;
    IArrayPatternPtr m_array;
};

// What one click does, by loop and dialog answer. Inside (choice 0, the default) shrinks, outside grows;
// the box of the target loop afterwards pins the side and the distance (a grown square keeps its straight
// sides 0.5 out and gains round corners: 8 elements).
struct ClickCase {
    const char* name;
    Target target;
    std::optional<Answer> answer;  // none: no dialog expected
    int message;                   // 0: none
    Rect2D box;                    // of the target loop afterwards
    std::size_t nodes;             // of the target loop afterwards
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

Answer Typed(const wchar_t* distance, int side, int result = MSGBOX_RESULT_OK) {
    Answer a;
    a.templateID = LoopOffsetDlg::kTemplateID;
    a.result = result;
    if (distance != nullptr) {
        a.texts.push_back({LoopOffsetDlg::kDistanceEditID, distance});
    }
    if (side >= 0) {
        a.choices.push_back({LoopOffsetDlg::kSideGroupID, side});
    }
    return a;
}

const Rect2D kSquareBox(0, 4, 0, 4);

const ClickCase kClickCases[] = {
    {"DefaultsShrinkBy0p1", kSquare, Typed(nullptr, -1), 0, Rect2D(0.1, 3.9, 0.1, 3.9), 4},
    {"OutsideGrowsWithRoundCorners", kSquare, Typed(L"0.5", 1), 0, Rect2D(-0.5, 4.5, -0.5, 4.5), 8},
    {"InsideExplicitly", kSquare, Typed(L"1.25", 0), 0, Rect2D(1.25, 2.75, 1.25, 2.75), 4},
    {"ShrinkingAwayIsRefused", kSquare, Typed(L"2", 0), kFailedMsg, kSquareBox, 4},
    {"ZeroDistanceIsRefused", kSquare, Typed(L"0", 1), kFailedMsg, kSquareBox, 4},
    {"NegativeTextKeepsTheDefault", kSquare, Typed(L"-1", -1), 0, Rect2D(0.1, 3.9, 0.1, 3.9), 4},
    {"CancelledChangesNothing", kSquare, Typed(L"0.5", 1, MSGBOX_RESULT_CANCEL), 0, kSquareBox, 4},
    {"CircleGrowsItsRadius", kCircle, Typed(L"0.25", 1), 0, Rect2D(6.25, 7.75, 5.25, 6.75), 1},
    {"CircleShrunkToNothingIsRefused", kCircle, Typed(L"0.5", 0), kFailedMsg, Rect2D(6.5, 7.5, 5.5, 6.5), 1},
    {"ArrayShrinksEveryCopy", kArray, Typed(L"0.1", 0), 0, Rect2D(0.85, 3.15, 7.85, 8.15), 1},
    {"OpenLoopIsRefusedWithoutDialog", kOpenChain, std::nullopt, kOpenMsg, Rect2D(6, 9, 0, 2), 2},
};

class OffsetLoopClickTest : public OffsetLoopActionTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(OffsetLoopClickTest, OffsetsOrRefusesThenReturnsToSelection) {
    const ClickCase& c = GetParam();
    if (c.answer) {
        m_dialogs.script->QueueAnswer(*c.answer);
    }
    const std::size_t patternCount = m_patterns->size();
    const IPatLoopPtr loop = LoopOf(c.target);
    OffsetByClick(c.target);

    EXPECT_EQ(m_dialogs.script->GetShown().size(), c.answer ? 1u : 0u);
    EXPECT_EQ(m_dialogs.script->GetUnansweredCount(), 0);
    const auto& shown = m_boxes.recorder->GetShown();
    if (c.message == 0) {
        EXPECT_TRUE(shown.empty());
    } else {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].textID, c.message);
        EXPECT_EQ(shown[0].captionID, 20001);
        EXPECT_EQ(shown[0].buttons, MSGBOX_OK);
        EXPECT_EQ(shown[0].icon, MSGBOX_ICON_WARNING);
        EXPECT_EQ(shown[0].owner, &m_window);
    }
    const bool offset = c.message == 0 && c.answer && c.answer->result == MSGBOX_RESULT_OK;
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), offset ? 1u : 0u);
    if (offset) {
        EXPECT_EQ(CommandManager::GetInstance()->GetUndoCommand()->GetCommandName(),
                  ResourceString::Load(12262));
    }

    // The same loop object, offset in place.
    EXPECT_TRUE(BoxNear(loop->GetCacheData()->GetLoopRect(), c.box))
        << loop->GetCacheData()->GetLoopRect().left << " " << loop->GetCacheData()->GetLoopRect().right;
    EXPECT_EQ(loop->GetLoopNodes()->size(), c.nodes);

    // A polygon offset replaces the loop's patterns in the list (4 old out, the new ones in); a shape
    // keeps its objects.
    const std::size_t expectedCount =
        offset && c.target == kSquare ? patternCount - 4 + c.nodes : patternCount;
    EXPECT_EQ(m_patterns->size(), expectedCount);
    for (const IPatternPtr& p : Objects(loop->GetPatternList())) {
        EXPECT_GE(m_patterns->GetPatternIndex(p), 0);
    }

    // Every outcome hands over to selection, with the loop's (possibly new) patterns selected.
    EXPECT_EQ(CurrentType(), EDIT_SELECT);
    EXPECT_EQ(Selected(), Objects(loop->GetPatternList()));
}

INSTANTIATE_TEST_SUITE_P(Cases, OffsetLoopClickTest, ::testing::ValuesIn(kClickCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The dialog each click shows: template 30151 with the distance edit at 0.1 in four decimals and the side
// group on its first choice, on the light blue background.
TEST_F(OffsetLoopActionTest, TheDialogStartsAtItsDefaultsEveryTime) {
    for (int round = 0; round < 2; ++round) {
        m_dialogs.script->QueueAnswer(Typed(L"0.3", 1, MSGBOX_RESULT_CANCEL));
        OffsetByClick(kSquare);
    }
    ASSERT_EQ(m_dialogs.script->GetShown().size(), 2u);
    for (const ScriptedDialogService::Shown& shown : m_dialogs.script->GetShown()) {
        EXPECT_EQ(shown.templateID, 30151);
        ASSERT_EQ(shown.controls.size(), 2u);
        EXPECT_EQ(shown.controls[0].controlID, 1313);
        EXPECT_EQ(shown.controls[0].edit.GetText(), L"0.1000");
        EXPECT_EQ(shown.controls[0].edit.GetDigits(), 4);
        EXPECT_EQ(shown.controls[1].controlID, 1315);
        EXPECT_EQ(shown.controls[1].selected, 0);
        EXPECT_EQ(shown.controls[1].optionIDs.size(), 2u);
        for (int id : shown.controls[1].optionIDs) EXPECT_TRUE(ResourceString::Exists(id)) << id;
    }
    LoopOffsetDlg dialog;
    EXPECT_EQ(dialog.GetBackgroundColor(), 16644079ul);
    EXPECT_EQ(DisplayParam::GetRed(dialog.GetBackgroundColor()), 239u);
    EXPECT_EQ(DisplayParam::GetBlue(dialog.GetBackgroundColor()), 253u);
    EXPECT_TRUE(ResourceString::Exists(dialog.GetTitleID()));
}

// Without a dialog service (a headless host) the dialog is cancelled: nothing is offset.
TEST_F(OffsetLoopActionTest, WithoutADialogServiceNothingIsOffset) {
    const IDialogServicePtr script = XDialogBase::SetService(IDialogServicePtr());
    OffsetByClick(kSquare);
    XDialogBase::SetService(script);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 0u);
    EXPECT_TRUE(BoxNear(LoopOf(kSquare)->GetCacheData()->GetLoopRect(), kSquareBox));
    EXPECT_EQ(CurrentType(), EDIT_SELECT);
}

// The nearest pattern decides, however far the cursor is; a move over an empty part finds nothing, keeps
// what was found before, and a click then does nothing.
TEST_F(OffsetLoopActionTest, TheLoopUnderTheCursorIsThatOfTheNearestPattern) {
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    EXPECT_EQ(Action()->SupportDrawAssist(), 0);
    EXPECT_FALSE(Action()->GetLoopUnderCursor());
    MoveTo(Point2D(300, 300));  // far off: the circle is nearest
    EXPECT_EQ(Action()->GetLoopUnderCursor(), LoopOf(kCircle));
    MoveTo(Point2D(2, 500));  // far up: the array (never its seed)
    EXPECT_EQ(Action()->GetLoopUnderCursor(), LoopOf(kArray));

    auto empty = boost::make_shared<PatternList>();
    auto noLoops = boost::make_shared<PatLoopList>();
    m_editor->SetPatternList(empty);
    m_editor->SetPatLoopList(noLoops);
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    MoveTo(Point2D(1, 1));
    EXPECT_FALSE(Action()->GetLoopUnderCursor());
    Click(Point2D(1, 1));
    EXPECT_EQ(CurrentType(), EDIT_OFFSET_LOOP);
    EXPECT_TRUE(m_dialogs.script->GetShown().empty());
    EXPECT_TRUE(m_boxes.recorder->GetShown().empty());
}

// The loop under the cursor is drawn as the active loop (width 2, the active colour); the cancel key
// returns to selection without offsetting.
TEST_F(OffsetLoopActionTest, HighlightsTheLoopAndCancelsToSelection) {
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    m_view->Clear();
    m_editor->DrawTransient();
    EXPECT_TRUE(m_view->GetDrawCalls().empty());
    MoveTo(Near(kSquare));
    m_view->Clear();
    m_editor->DrawTransient();
    const auto draws = m_view->GetDrawCalls();
    ASSERT_EQ(draws.size(), 4u);
    for (const auto& call : draws) {
        EXPECT_EQ(call.pen.color, testutil::DrawColors::kActive);
        EXPECT_EQ(call.pen.lineWidth, 2.0);
    }
    m_editor->OnKeyDown(KEY_ESCAPE, 1, 0);
    EXPECT_EQ(CurrentType(), EDIT_SELECT);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 0u);
}

// Undo gives back the very pattern objects the loop had, at their places in the list, and a loop chaining
// them; redo the offset patterns; the shapes get their dimensions back.
TEST_F(OffsetLoopActionTest, UndoAndRedoSwapTheSameObjects) {
    const std::vector<IPatternPtr> before = Objects(m_patterns);
    const IPatLoopPtr squareLoop = LoopOf(kSquare);
    m_dialogs.script->QueueAnswer(Typed(L"0.5", 1));
    OffsetByClick(kSquare);
    const std::vector<IPatternPtr> grown = Objects(squareLoop->GetPatternList());
    ASSERT_EQ(grown.size(), 8u);
    m_dialogs.script->QueueAnswer(Typed(L"0.25", 1));
    OffsetByClick(kCircle);
    ASSERT_EQ(CommandManager::GetInstance()->GetUndoCount(), 2u);

    EXPECT_EQ(m_editor->Undo(), 1);
    EXPECT_DOUBLE_EQ(boost::dynamic_pointer_cast<CirclePattern>(m_circle)->GetRadius(), 0.5);
    EXPECT_EQ(m_editor->Undo(), 1);
    EXPECT_EQ(Objects(m_patterns), before);
    const IPatLoopPtr square = m_loops->FindLoopByPat(before[0]);
    ASSERT_TRUE(square);
    EXPECT_TRUE(BoxNear(square->GetCacheData()->GetLoopRect(), kSquareBox));
    EXPECT_EQ(square->IsOpenPath(1e-4), 0);
    for (const IPatternPtr& p : grown) EXPECT_EQ(m_patterns->GetPatternIndex(p), -1);

    EXPECT_EQ(m_editor->Redo(), 1);
    EXPECT_EQ(m_editor->Redo(), 1);
    for (const IPatternPtr& p : grown) EXPECT_GE(m_patterns->GetPatternIndex(p), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m_patterns->GetPatternIndex(before[i]), -1);
    EXPECT_TRUE(BoxNear(m_loops->FindLoopByPat(grown[0])->GetCacheData()->GetLoopRect(),
                        Rect2D(-0.5, 4.5, -0.5, 4.5)));
    EXPECT_DOUBLE_EQ(boost::dynamic_pointer_cast<CirclePattern>(m_circle)->GetRadius(), 0.75);
}

// A loop found before an undo that took it out of the loop list is let go: a click then offsets nothing
// that is no longer part of the part.
TEST_F(OffsetLoopActionTest, ALoopGoneAfterUndoIsLetGo) {
    m_dialogs.script->QueueAnswer(Typed(L"0.5", 1));
    OffsetByClick(kSquare);
    m_editor->SetEditAction(EDIT_OFFSET_LOOP);
    MoveTo(Point2D(2, -0.7));
    const IPatLoopPtr offsetLoop = Action()->GetLoopUnderCursor();
    ASSERT_TRUE(offsetLoop);
    ASSERT_EQ(offsetLoop->GetLoopNodes()->size(), 8u);

    m_editor->Undo();  // the offset loop leaves the list; the original comes back as a loop of its own
    ASSERT_EQ(std::find(m_loops->begin(), m_loops->end(), offsetLoop), m_loops->end());
    EXPECT_EQ(CurrentType(), EDIT_OFFSET_LOOP);
    EXPECT_FALSE(Action()->GetLoopUnderCursor());
    Click(Point2D(2, -0.7));
    EXPECT_TRUE(m_dialogs.script->GetShown().size() == 1u);  // only the first offset's
    EXPECT_EQ(CurrentType(), EDIT_OFFSET_LOOP);
}

}  // namespace
}  // namespace Norvane
