#include "geomFeature/editor/OffsetLoopAction.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/LoopOffsetDlg.h"
#include "geomFeature/editor/OffsetLoopCommand.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/uikit/MsgBoxType.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// The dialog's first side choice is inside: it shrinks the loop (side 1); the other grows it (side 0).
int SideOfChoice(int choice) {
    return choice == LoopOffsetDlg::kSideInside ? 1 : 0;
}

}  // namespace

OffsetLoopAction::OffsetLoopAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                   const GlViewPortPtr& viewPort)
    : PatternActionBase(patterns, loops, viewPort) {
    SetDrawAssist(0);
    SetPromptMsg(kResOffsetLoopPrompt);
}

int OffsetLoopAction::GetActionType() const {
    return EDIT_OFFSET_LOOP;
}

int OffsetLoopAction::MovePoint(double& x, double& y) {
    if (!m_patterns || !m_loops) {
        return 1;
    }
    // No pattern (an empty part): the loop found before stays.
    if (const IPatternPtr nearest = m_patterns->GetPatternClosestTo(Point2D(x, y), 1)) {
        m_loop = m_loops->FindLoopByPat(nearest);
    }
    return 1;
}

int OffsetLoopAction::LButtonDown(double& /*x*/, double& /*y*/) {
    const IPatLoopPtr loop = m_loop;
    if (!loop) {
        return 1;
    }
    if (loop->IsOpenPath(kLoopClosedTol) != 0) {
        ShowWarning(kResOffsetLoopOpen);
    } else {
        OffsetClosedLoop(loop);
    }
    // After a polygon offset the loop holds its new patterns: those are what is selected.
    SwitchToSelection(loop->GetPatternList());
    return 1;
}

void OffsetLoopAction::OffsetClosedLoop(const IPatLoopPtr& loop) {
    LoopOffsetDlg dialog;
    dialog.SetOwner(m_viewPort ? m_viewPort->GetWindow() : nullptr);
    if (dialog.DoModal() != MSGBOX_RESULT_OK) {
        return;
    }
    const double distance = dialog.GetDistance();
    // A zero distance would "succeed" on a standard shape and record a command that changes nothing; it is
    // refused like any other offset that cannot be made. Written so that NaN is refused too.
    if (!(distance > 0.0) || !std::isfinite(distance)) {
        ShowWarning(kResOffsetLoopFailed);
        return;
    }
    const auto command = boost::make_shared<OffsetLoopCommand>(
        GetEditorData(), m_patterns, m_loops, loop, SideOfChoice(dialog.GetSideChoice()), distance);
    command->Do();
    if (command->GetResult() == 0) {
        ShowWarning(kResOffsetLoopFailed);
        return;
    }
    CommandManager::GetInstance()->AddCommand(command);
}

int OffsetLoopAction::DrawBeforeFinish() {
    if (m_loop && m_viewPort) {
        LoopDrawer(m_viewPort).DrawActiveLoop(m_loop, Matrix2D());
    }
    return 1;
}

void OffsetLoopAction::UpdateForUndoRedo() {
    if (m_loop && (!m_loops || std::find(m_loops->begin(), m_loops->end(), m_loop) == m_loops->end())) {
        m_loop.reset();
    }
}

}  // namespace Norvane
