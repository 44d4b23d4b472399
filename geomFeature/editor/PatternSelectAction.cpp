#include "geomFeature/editor/PatternSelectAction.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/IGripEditAction.h"
#include "geomFeature/editor/PatternActionFactory.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternSelectAction::PatternSelectAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : PreSelectActionBase(patterns, loops, viewPort, PatternListPtr()) {
    SetPromptMsg(kResSelectPrompt);
}

int PatternSelectAction::GetActionType() const {
    return EDIT_SELECT;
}

void PatternSelectAction::SelectPatList(const PatternListPtr& list) {
    m_selection->clear();
    if (list) {
        m_selection->AddPatterns(list);
    }
    m_selectStep = m_selection->empty() ? 0 : 2;
    PatternPropBar* bar = PatternPropBar::GetInstance();
    bar->SetRelativeView(m_viewPort);
    bar->DisplayPatProp(m_loops, m_selection);
}

IPatternPtr PatternSelectAction::PatternAt(const Point2D& point) const {
    if (!m_loops) {
        return IPatternPtr();
    }
    double distance = 0.0;
    return m_loops->GetClosestPat(point, distance);
}

void PatternSelectAction::AfterSelect() {
    SetPromptMsg(kResSelectPrompt);
    ShowSelection();
}

void PatternSelectAction::ShowSelection() {
    PatternPropBar* bar = PatternPropBar::GetInstance();
    if (m_selection->empty()) {
        bar->ShowBar(0);
        return;
    }
    bar->SetRelativeView(m_viewPort);
    bar->DisplayPatProp(m_loops, m_selection);
}

// Runs on every mouse move over every selected pattern's snap points (a select-all of a large part
// included), so distances are compared squared and one point list serves every pattern.
void PatternSelectAction::FindGrip(const Point2D& point) {
    m_gripPoint.reset();
    m_gripOwner.reset();
    if (m_selection->empty() || !m_viewPort) {
        return;
    }
    const double tolerance = m_viewPort->DToW(kGripPickPixels);
    const double tolerance2 = tolerance * tolerance;
    Point2DList snaps;
    for (const IPatternPtr& pattern : *m_selection) {
        if (!pattern) {
            continue;
        }
        snaps.clear();
        pattern->GetSnapPoints(snaps);
        for (const Point2D& snap : snaps) {
            const double dx = snap.x - point.x;
            const double dy = snap.y - point.y;
            // Strict: a snap point exactly the pick distance away is no grip.
            if (dx * dx + dy * dy < tolerance2) {
                m_gripPoint = boost::make_shared<Point2D>(snap);
                m_gripOwner = pattern;
                return;
            }
        }
    }
}

int PatternSelectAction::MovePoint(double& x, double& y) {
    PreSelectActionBase::MovePoint(x, y);
    FindGrip(Point2D(x, y));
    return 1;
}

// The grip is looked for at the button's own point, which is where the last move left the cursor when the
// input comes from a mouse, and the right place when it comes from a script.
int PatternSelectAction::LButtonDown(double& x, double& y) {
    FindGrip(Point2D(x, y));
    if (m_gripPoint && m_gripOwner) {
        const int code = PatternActionFactory::GetGripToolCode(m_gripOwner->GetPatternType());
        const IActionPtr tool = PatternActionFactory::GetInstance()->Create(
            code, PatternActionContext{m_patterns, m_loops, m_viewPort, PatternListPtr()});
        if (const auto grip = boost::dynamic_pointer_cast<IGripEditAction>(tool)) {
            grip->SetGripEditPat(m_gripOwner);
            grip->SetGripEditPt(m_gripPoint->x, m_gripPoint->y);
            SetNextAction(tool);
            return 1;
        }
    }
    return PreSelectActionBase::LButtonDown(x, y);
}

int PatternSelectAction::LButtonDBClk(double& x, double& y) {
    m_selectStep = 0;
    if (const IPatternPtr picked = PatternAt(Point2D(x, y))) {
        auto found = boost::make_shared<PatternList>();
        found->push_back(picked);
        Collect(found);
        m_selectStep = 2;
    }
    AfterSelect();
    return 1;
}

int PatternSelectAction::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    if (ValInputMgr::GetInstance()->IsInputDel(ch) != 0) {
        DeleteSelected(SelectionCopy());
        return 1;
    }
    return PreSelectActionBase::OnKeyDown(ch, repeatCount, flags);
}

void PatternSelectAction::UpdateForUndoRedo() {
    PatternPropBar::GetInstance()->ShowBar(0);
    PruneSelection();
    if (m_selection->empty() && m_selectStep == 2) {
        m_selectStep = 0;
    }
    m_gripPoint.reset();
    m_gripOwner.reset();
}

int PatternSelectAction::DrawBeforeFinish() {
    PreSelectActionBase::DrawBeforeFinish();
    if (m_viewPort && m_gripPoint) {
        ViewPenGuard pen(*m_viewPort);
        pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->CtrlPtColor);
        m_viewPort->DrawRectPoint2D(m_gripPoint->x, m_gripPoint->y, kSnapPtMarkPixels, 0);
    }
    return 1;
}

}  // namespace Norvane
