#include "geomFeature/editor/ArrayPatEditorBase.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/ArrayPatternCommand.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

ArrayPatEditorBase::ArrayPatEditorBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                       const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {}

IPatternPtr ArrayPatEditorBase::PatternUnder(const Point2D& point) const {
    if (!m_patterns || !m_viewPort) {
        return IPatternPtr();
    }
    const IPatternPtr nearest = m_patterns->GetPatternClosestTo(point, 1);
    // Strict: a pattern exactly the pick distance away is not under the cursor.
    if (nearest && nearest->DistanceTo(point) < m_viewPort->DToW(kArrayPickPixels)) {
        return nearest;
    }
    return IPatternPtr();
}

int ArrayPatEditorBase::LButtonDown(double& x, double& y) {
    if (GetGripEditPat() || !AtStart()) {
        return GripEditActionBase::LButtonDown(x, y);
    }
    const IPatternPtr picked = PatternUnder(Point2D(x, y));
    if (!picked || picked->IsStdPat() == 0) {
        ShowWarning(kResArrayBaseRefused);
        return 0;
    }
    m_base = picked;
    m_candidate.reset();
    Restart();
    TakePoint(m_base->GetBasePoint());
    return 1;
}

int ArrayPatEditorBase::MovePoint(double& x, double& y) {
    m_candidate = (!GetGripEditPat() && AtStart()) ? PatternUnder(Point2D(x, y)) : IPatternPtr();
    return GripEditActionBase::MovePoint(x, y);
}

int ArrayPatEditorBase::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    if (GetGripEditPat() || !AtStart()) {
        if (m_base && !AtStart()) {
            PatternDrawer(m_viewPort).DrawSelPat(m_base);
        }
        return GripEditActionBase::DrawBeforeFinish();
    }
    if (m_candidate) {
        PatternDrawer(m_viewPort).DrawActivePat(m_candidate);
    }
    CursorDrawer(m_viewPort).DrawRectSelCursor();
    return 1;
}

void ArrayPatEditorBase::UpdateForUndoRedo() {
    GripEditActionBase::UpdateForUndoRedo();
    m_candidate.reset();
    if (!m_base) {
        return;
    }
    const IPatternPtr current = PatternForwarding::Resolve(m_base);
    if (!m_patterns || !m_patterns->GetPatFromID(current->GetID()) || current->IsControlPat()) {
        m_base.reset();
        Restart();
        return;
    }
    m_base = current;
}

void ArrayPatEditorBase::Record(const PatternListPtr& made) {
    const auto array = boost::dynamic_pointer_cast<IArrayPattern>(made->front());
    if (!array || !m_base) {
        return;
    }
    RunCommand(boost::make_shared<ArrayPatternCommand>(GetEditorData(), m_patterns, m_loops, array, m_base));
    m_base.reset();
    SwitchToSelection(ListOf(made->front()));
}

}  // namespace Norvane
