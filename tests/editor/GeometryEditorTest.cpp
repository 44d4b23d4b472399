// The geometry editor driven through its public entry points only: event dispatch and hand-over, switching
// by code, the drawing assistant on mouse moves, the cancel key, the return to selection, the actions that
// act on the selection at once, the zoom actions and undo/redo.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/weak_ptr.hpp>

#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
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
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::CachedLine;
using testutil::ProbeAction;
using testutil::ProbeMaker;

constexpr int kDummyType = -1;
constexpr int kSelectType = 50;

class GeometryEditorTest : public ::testing::Test {
protected:
    GeometryEditorTest() {
        // A square of four lines, a lone line, a circle, and a row of three small circles.
        for (const auto& [x1, y1, x2, y2] : std::vector<std::array<double, 4>>{
                 {0, 0, 4, 0}, {4, 0, 4, 4}, {4, 4, 0, 4}, {0, 4, 0, 0}, {6, 0, 9, 0}}) {
            m_patterns->push_back(CachedLine(x1, y1, x2, y2));
        }
        m_circle = boost::make_shared<CirclePattern>(Point2D(7, 3), 0.5);
        m_circle->UpdateCache();
        m_patterns->push_back(m_circle);
        m_seed = boost::make_shared<CirclePattern>(Point2D(1, 7), 0.25);
        m_seed->UpdateCache();
        m_array = boost::make_shared<PatLinePattern>(Point2D(1, 7), Vector2D(1, 0), 3);
        m_array->SetControlPat(m_seed);
        m_seed->SetBeControlPat(m_array);
        m_array->UpdateCache();
        m_patterns->push_back(m_seed);
        m_patterns->push_back(m_array);
        m_loops = LoopBuilder::BuildPatLoops(m_patterns, 1e-4);
        LoopProcessor::UpdateCache(m_loops);
        m_loops->UpdateBoundaryLoop();

        m_view->SetWindow(&m_window);
        m_editor->SetPatternList(m_patterns);
        m_editor->SetPatLoopList(m_loops);
        m_editor->SetOutputBar(m_bar);
        CommandManager::GetInstance()->Clear();
        ValInputMgr::GetInstance()->Clear();
    }
    ~GeometryEditorTest() override {
        CommandManager::GetInstance()->Clear();
        ValInputMgr::GetInstance()->Clear();
        m_array->GetPatRelationList()->Clear();
        m_seed->GetPatRelationList()->Clear();
    }

    int CurrentType() const { return m_editor->GetActionObject()->GetActionType(); }
    PatternSelectActionPtr Selection() const {
        return boost::dynamic_pointer_cast<PatternSelectAction>(m_editor->GetActionObject());
    }
    // Makes selection current with the given patterns selected.
    void Select(std::initializer_list<IPatternPtr> patterns) {
        m_editor->SetEditAction(EDIT_SELECT);
        auto list = boost::make_shared<PatternList>();
        for (const IPatternPtr& p : patterns) list->push_back(p);
        Selection()->SelectPatList(list);
    }
    static bool BarVisible() { return PatternPropBar::GetInstance()->IsVisible() != 0; }

    testutil::DisplayColorGuard m_colors;
    int m_window = 0;  // its address is the viewport's window handle
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(200, 200, Rect2D(-2, 18, -2, 18));
    DrawAssistorPtr m_assistor = boost::make_shared<DrawAssistor>(m_view);
    GeometryEditorPtr m_editor = boost::make_shared<GeometryEditor>(m_view, m_assistor);
    boost::shared_ptr<testutil::RecordingOutputBar> m_bar =
        boost::make_shared<testutil::RecordingOutputBar>();
    PatternListPtr m_patterns = boost::make_shared<PatternList>();
    PatLoopListPtr m_loops;
    IPatternPtr m_circle;
    IPatternPtr m_seed;
    IArrayPatternPtr m_array;
};

TEST_F(GeometryEditorTest, StartsIdleAndNamesItself) {
    EXPECT_EQ(CurrentType(), kDummyType);
    EXPECT_EQ(m_editor->GetEditorName(), ResourceString::Load(12005));
    EXPECT_EQ(m_editor->GetDrawer(), m_view);
    double x = 1;
    double y = 2;
    EXPECT_EQ(m_editor->LButtonDown(x, y), 1);
    EXPECT_EQ(m_editor->OnKeyDown(KEY_ESCAPE, 1, 0), 1);
    EXPECT_EQ(CurrentType(), kDummyType);  // the dummy has no successor, not even on cancel
}

// Each event reaches the current action with its arguments unchanged; a successor named during the event
// becomes current after it (the old action is released) and the output bar then shows its prompt.
TEST_F(GeometryEditorTest, EventsReachTheActionAndItsSuccessorTakesOver) {
    struct Event {
        std::function<void(GeometryEditor&)> fire;
        std::string logged;
    };
    using Mouse = int (GeometryEditor::*)(double&, double&);
    using Key = int (GeometryEditor::*)(unsigned int, unsigned int, unsigned int);
    std::vector<Event> events;
    for (const auto& [handler, name] :
         std::vector<std::pair<Mouse, std::string>>{{&GeometryEditor::LButtonDown, "LButtonDown"},
                                                    {&GeometryEditor::LButtonUp, "LButtonUp"},
                                                    {&GeometryEditor::LButtonDBClk, "LButtonDBClk"},
                                                    {&GeometryEditor::RButtonUp, "RButtonUp"},
                                                    {&GeometryEditor::MovePoint, "MovePoint"}}) {
        events.push_back({[handler](GeometryEditor& e) {
                              double x = 1.5;
                              double y = -2;
                              (e.*handler)(x, y);
                          },
                          name + " 1.500000 -2.000000"});
    }
    for (const auto& [handler, name] : std::vector<std::pair<Key, std::string>>{
             {&GeometryEditor::OnKeyDown, "OnKeyDown"}, {&GeometryEditor::OnKeyUp, "OnKeyUp"}}) {
        events.push_back({[handler](GeometryEditor& e) { (e.*handler)('5', 2, 3); }, name + " 53 2 3"});
    }
    ProbeMaker first(DRAW_LINE, 1, 12301);
    ProbeMaker second(DRAW_CIRCLE, 1, 12463);
    for (const Event& event : events) {
        m_editor->SetDrawAction(DRAW_LINE);
        const boost::weak_ptr<ProbeAction> old = first.last;
        event.fire(*m_editor);
        ASSERT_EQ(first.last->events.size(), 1u);
        EXPECT_EQ(first.last->events[0], event.logged);
        EXPECT_EQ(CurrentType(), DRAW_LINE);  // no successor named

        m_editor->SetDrawAction(DRAW_CIRCLE);
        m_editor->SetDrawAction(DRAW_LINE);
        first.last->HandOver(second.last);
        event.fire(*m_editor);
        EXPECT_EQ(m_editor->GetActionObject(), second.last);
        EXPECT_EQ(m_bar->prompt, 12463);
        first.last.reset();
        EXPECT_TRUE(old.expired());
    }
}

// Every code of the tables switches at once; codes outside them change nothing; every call hides the
// property bar; every call answers 1.
TEST_F(GeometryEditorTest, SwitchesByCodeAndIgnoresUnknownCodes) {
    const int drawCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18, 19, 22, 30, 31, 32, 33};
    for (int code : drawCodes) {
        ProbeMaker maker(code);
        PatternPropBar::GetInstance()->ShowBar(1);
        EXPECT_EQ(m_editor->SetDrawAction(static_cast<tagDrawActionType>(code)), 1);
        EXPECT_EQ(CurrentType(), code);
        EXPECT_FALSE(BarVisible());
    }
    const auto unchanged = [this](const std::function<int()>& set) {
        const IActionPtr before = m_editor->GetActionObject();
        PatternPropBar::GetInstance()->ShowBar(1);
        EXPECT_EQ(set(), 1);
        EXPECT_EQ(m_editor->GetActionObject(), before);
        EXPECT_FALSE(BarVisible());
    };
    ProbeMaker selectNotADrawCode(50);
    unchanged([this] { return m_editor->SetDrawAction(static_cast<tagDrawActionType>(50)); });
    unchanged([this] { return m_editor->SetDrawAction(static_cast<tagDrawActionType>(13)); });
    unchanged([this] { return m_editor->SetDrawAction(static_cast<tagDrawActionType>(0)); });
    unchanged([this] { return m_editor->SetEditAction(EDIT_LOOP_SELECT); });
    unchanged([this] { return m_editor->SetEditAction(static_cast<tagEditActionType>(70)); });
    unchanged([this] { return m_editor->SetViewAction(VIEW_ACTION_NONE); });
    unchanged([this] { return m_editor->SetViewAction(static_cast<tagViewActionType>(-4)); });
    for (int code : {62, 63, 65, 64}) {
        ProbeMaker maker(code);
        EXPECT_EQ(m_editor->SetEditAction(static_cast<tagEditActionType>(code)), 1);
        EXPECT_EQ(CurrentType(), code);
    }
    EXPECT_EQ(m_editor->SetViewAction(VIEW_ACTION_ZOOM_IN), 1);
    EXPECT_EQ(CurrentType(), VIEW_ACTION_ZOOM_IN);
    EXPECT_EQ(m_editor->SetViewAction(VIEW_ACTION_ZOOM_OUT), 1);
    EXPECT_EQ(CurrentType(), VIEW_ACTION_ZOOM_OUT);
}

// A tool that snaps gets the assistant on every move (with its first entered point); an action of the
// module that does not snap clears it; the framework's own actions leave it alone.
TEST_F(GeometryEditorTest, MouseMovesRunTheAssistantForToolsThatSnap) {
    ProbeMaker tool(DRAW_LINE, 1);
    const auto moveTo = [this](double x, double y) { m_editor->MovePoint(x, y); };
    const auto snapped = [this] { return m_assistor->GetSnapPt() != nullptr; };

    m_editor->SetDrawAction(DRAW_LINE);
    tool.last->Enter(Point2D(-1, -1));
    moveTo(4.02, 3.97);  // 0.5 px from the square's corner
    ASSERT_TRUE(snapped());
    EXPECT_TRUE(testutil::PointNear(*m_assistor->GetSnapPt(), Point2D(4, 4)));
    EXPECT_TRUE(testutil::PointNear(m_assistor->GetFeaturePoints()[0], Point2D(-1, -1)));
    double x = 4.02;
    double y = 3.97;
    EXPECT_EQ(m_editor->ApplySnap(x, y), 1);
    EXPECT_EQ(x, 4.0);
    EXPECT_EQ(y, 4.0);
    EXPECT_EQ(tool.last->events.back(), "MovePoint 4.020000 3.970000");  // the action sees the real cursor

    m_editor->SetViewAction(VIEW_ACTION_ZOOM_IN);
    moveTo(12, 12);
    EXPECT_TRUE(snapped());  // untouched by a zoom action
    m_editor->SetDummyAction();
    moveTo(12, 12);
    EXPECT_TRUE(snapped());  // nor by the dummy

    m_editor->SetEditAction(EDIT_SELECT);
    EXPECT_EQ(m_editor->ApplySnap(x, y), 0);
    moveTo(12, 12);
    EXPECT_FALSE(snapped());  // cleared by the selection, which does not snap
    EXPECT_TRUE(m_assistor->GetFeaturePoints().empty());
}

TEST_F(GeometryEditorTest, CancelKeyInAToolSwitchesToSelection) {
    ProbeMaker tool(DRAW_LINE);
    m_editor->SetDrawAction(DRAW_LINE);
    m_editor->OnKeyDown('x', 1, 0);
    EXPECT_EQ(CurrentType(), DRAW_LINE);
    m_editor->OnKeyDown(KEY_ESCAPE, 1, 0);
    EXPECT_EQ(CurrentType(), kSelectType);
    EXPECT_EQ(m_bar->prompt, 12480);
}

// A typed point ended with Enter acts as a click there; with nothing typed, a click at the cursor; "@dx,dy"
// counts from the last entered point. The buffer is empty afterwards.
TEST_F(GeometryEditorTest, TypedPointsActAsClicks) {
    ProbeMaker tool(DRAW_LINE);
    m_editor->SetDrawAction(DRAW_LINE);
    ValInputMgr::GetInstance()->Clear();
    const auto type = [this](const std::string& keys) {
        for (char c : keys) m_editor->OnKeyDown(static_cast<unsigned char>(c), 1, 0);
        m_editor->OnKeyDown(KEY_ENTER, 1, 0);
    };
    type("3,4");
    EXPECT_EQ(tool.last->events.back(), "LButtonDown 3.000000 4.000000");
    EXPECT_EQ(ValInputMgr::GetInstance()->GetInputText(), L"");
    double x = 7.5;
    double y = 1.25;
    m_editor->MovePoint(x, y);
    type("");
    EXPECT_EQ(tool.last->events.back(), "LButtonDown 7.500000 1.250000");
    tool.last->Enter(Point2D(1, 1));
    type("@2,-1");
    EXPECT_EQ(tool.last->events.back(), "LButtonDown 3.000000 0.000000");
    EXPECT_EQ(m_bar->typed, L"");
}

// After an edit a tool hands over to selection with what it made selected and shown in the property bar.
TEST_F(GeometryEditorTest, ReturnToSelectionSelectsWhatWasMade) {
    ProbeMaker tool(DRAW_LINE);
    m_editor->SetDrawAction(DRAW_LINE);
    tool.last->SwitchToSelection(m_circle);
    double x = 0;
    double y = 0;
    m_editor->LButtonDown(x, y);
    ASSERT_TRUE(Selection());
    ASSERT_EQ(Selection()->GetSelPatList()->size(), 1u);
    EXPECT_EQ(Selection()->GetSelPatList()->front(), m_circle);
    EXPECT_TRUE(BarVisible());
    EXPECT_EQ(PatternPropBar::GetInstance()->GetPatternList(), Selection()->GetSelPatList());
}

// The selection action's own list goes to the next action; from any other action an empty one.
TEST_F(GeometryEditorTest, TheSelectionIsHandedOverAsItIs) {
    ProbeMaker copy(EDIT_COPY);
    m_editor->SetEditAction(EDIT_COPY);
    ASSERT_TRUE(copy.last->selection);
    EXPECT_TRUE(copy.last->selection->empty());

    Select({m_circle, (*m_patterns)[0]});
    const PatternListPtr selected = Selection()->GetSelPatList();
    m_editor->SetEditAction(EDIT_COPY);
    EXPECT_EQ(copy.last->selection, selected);
}

TEST_F(GeometryEditorTest, DeleteActsOnTheSelectionAtOnce) {
    ProbeMaker remove(EDIT_DELETE);
    m_editor->SetEditAction(EDIT_DELETE);  // nothing selected: only the action
    EXPECT_EQ(CurrentType(), EDIT_DELETE);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 0u);

    const std::size_t before = m_patterns->size();
    Select({m_circle, m_array});
    m_editor->SetEditAction(EDIT_DELETE);
    EXPECT_EQ(CurrentType(), EDIT_DELETE);
    EXPECT_EQ(m_patterns->size(), before - 3);  // the array's seed goes with it
    EXPECT_EQ(m_patterns->GetPatternIndex(m_seed), -1);
    EXPECT_EQ(m_loops->FindLoopByPat(m_circle), IPatLoopPtr());
    ASSERT_EQ(CommandManager::GetInstance()->GetUndoCount(), 1u);
    double x = 0;
    double y = 0;
    m_editor->MovePoint(x, y);  // the delete action's successor is the selection
    EXPECT_EQ(CurrentType(), kSelectType);

    m_editor->Undo();
    EXPECT_EQ(m_patterns->size(), before);
    EXPECT_EQ(m_array->GetControlPat(), m_seed);
}

TEST_F(GeometryEditorTest, ExplodeActsOnOneSelectedShapeAtOnce) {
    ProbeMaker explode(EDIT_EXPLODE);
    Select({m_circle, (*m_patterns)[0]});
    m_editor->SetEditAction(EDIT_EXPLODE);  // two selected: only the action
    EXPECT_EQ(CurrentType(), EDIT_EXPLODE);
    EXPECT_TRUE(explode.last->selection == nullptr);
    EXPECT_GE(m_patterns->GetPatternIndex(m_circle), 0);

    Select({(*m_patterns)[0]});
    m_editor->SetEditAction(EDIT_EXPLODE);  // a line cannot be exploded
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 0u);

    Select({m_circle});
    m_editor->SetEditAction(EDIT_EXPLODE);
    EXPECT_EQ(CurrentType(), EDIT_EXPLODE);
    EXPECT_EQ(m_patterns->GetPatternIndex(m_circle), -1);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 1u);
}

TEST_F(GeometryEditorTest, RotationOfAnArrayIsRefusedWithAWarning) {
    testutil::MessageBoxGuard boxes;
    ProbeMaker rotate(EDIT_ROTATE);
    Select({m_circle, m_array});
    const IActionPtr selection = m_editor->GetActionObject();
    m_editor->SetEditAction(EDIT_ROTATE);
    EXPECT_EQ(m_editor->GetActionObject(), selection);
    ASSERT_EQ(boxes.recorder->GetShown().size(), 1u);
    const MessageBoxRequest& box = boxes.recorder->GetShown()[0];
    EXPECT_EQ(box.textID, 12522);
    EXPECT_EQ(box.captionID, 20001);
    EXPECT_EQ(box.buttons, MSGBOX_OK);
    EXPECT_EQ(box.icon, MSGBOX_ICON_WARNING);
    EXPECT_EQ(box.owner, &m_window);

    Select({m_circle});
    m_editor->SetEditAction(EDIT_ROTATE);
    EXPECT_EQ(CurrentType(), EDIT_ROTATE);
    EXPECT_EQ(boxes.recorder->GetShown().size(), 1u);
}

// Zooming keeps the clicked world point where it is on the screen.
TEST_F(GeometryEditorTest, ZoomActionsZoomAboutTheClick) {
    for (const auto& [code, factor] :
         {std::pair{VIEW_ACTION_ZOOM_IN, 2.0}, std::pair{VIEW_ACTION_ZOOM_OUT, 0.5}}) {
        m_editor->SetViewAction(code);
        const double scale = m_view->GetViewTransform().GetScale();
        double x = 3.25;
        double y = 11.5;
        const Point2D device = m_view->PointWToD(Point2D(x, y));
        m_editor->LButtonDown(x, y);
        EXPECT_DOUBLE_EQ(m_view->GetViewTransform().GetScale(), scale * factor);
        EXPECT_TRUE(testutil::PointNear(m_view->PointWToD(Point2D(3.25, 11.5)), device, 1e-9));
        EXPECT_EQ(CurrentType(), code);
    }
}

// After an undo the selection drops what no longer exists and the bar is hidden; an action that names a
// successor in its undo/redo update is replaced at once.
TEST_F(GeometryEditorTest, UndoAndRedoUpdateTheCurrentAction) {
    ProbeMaker remove(EDIT_DELETE);
    Select({m_circle});
    m_editor->SetEditAction(EDIT_DELETE);
    Select({(*m_patterns)[0]});
    m_editor->Undo();  // the circle is back; the selected line is still there
    EXPECT_EQ(Selection()->GetSelPatList()->size(), 1u);
    EXPECT_FALSE(BarVisible());
    m_editor->Redo();
    Select({m_circle});  // not in the part now
    Selection()->GetSelPatList()->push_back((*m_patterns)[0]);
    m_editor->Undo();
    m_editor->Redo();
    ASSERT_EQ(Selection()->GetSelPatList()->size(), 1u);
    EXPECT_EQ(Selection()->GetSelPatList()->front(), (*m_patterns)[0]);

    ProbeMaker tool(DRAW_LINE);
    m_editor->SetDrawAction(DRAW_LINE);
    tool.last->nextOnUndoRedo = boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_view);
    m_editor->Undo();
    EXPECT_EQ(tool.last->events.back(), "UpdateForUndoRedo");
    EXPECT_EQ(CurrentType(), kSelectType);
}

}  // namespace
}  // namespace Norvane
