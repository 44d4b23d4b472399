#include "geomFeature/editor/TransformPatActionBase.h"

#include <boost/make_shared.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/editor/TransformPatCommand.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

bool IsIdentity(const Matrix2D& m) {
    return m == Matrix2D();  // exact: only a transformation that moves nothing at all is skipped
}

}  // namespace

TransformPatActionBase::TransformPatActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                               const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : PreSelectActionBase(patterns, loops, viewPort, selection),
      m_clones(boost::make_shared<PatternList>()) {}

void TransformPatActionBase::ConfirmGivenSelection() {
    if (!m_selection->empty() && AcceptSelection(0) != 0) {
        Confirm();
    } else {
        SetPromptMsg(kResSelectConfirmPrompt);
    }
}

void TransformPatActionBase::Confirm() {
    m_selectStep = -1;
    m_transformStep = 0;
    m_clones->clear();
    SetDrawAssist(1);
    SetPromptMsg(GetTransformPrompt(0));
}

int TransformPatActionBase::AcceptSelection(int /*showRefusal*/) {
    return 1;
}

int TransformPatActionBase::RButtonUp(double& /*x*/, double& /*y*/) {
    if (IsConfirmed() || m_selection->empty()) {
        return 1;
    }
    if (AcceptSelection(1) == 0) {
        SetNextAction(boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort));
        return 1;
    }
    Confirm();
    return 1;
}

int TransformPatActionBase::LButtonDown(double& x, double& y) {
    if (!IsConfirmed()) {
        return PreSelectActionBase::LButtonDown(x, y);
    }
    const Point2D point(x, y);
    if (m_transformStep != 1) {
        m_transformStep = 1;
        m_basePoint = m_currentPoint = point;
        ClearInputs();
        AddInput(point);
        UpdateClones();
        SetPromptMsg(GetTransformPrompt(1));
        return 1;
    }
    m_transformStep = 2;
    m_secondPoint = point;
    m_clones->clear();
    ClearInputs();
    RecordTransform(CalcTransform(m_basePoint, m_secondPoint));
    return 1;
}

int TransformPatActionBase::LButtonUp(double& x, double& y) {
    return IsConfirmed() ? 1 : PreSelectActionBase::LButtonUp(x, y);
}

int TransformPatActionBase::MovePoint(double& x, double& y) {
    if (!IsConfirmed()) {
        return PreSelectActionBase::MovePoint(x, y);
    }
    if (m_transformStep == 1) {
        m_currentPoint = Point2D(x, y);
        UpdateClones();
    }
    return 1;
}

int TransformPatActionBase::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    if (!IsConfirmed()) {
        return PreSelectActionBase::OnKeyDown(ch, repeatCount, flags);
    }
    return KeyDownForPoint(ch, repeatCount, flags);
}

void TransformPatActionBase::UpdateClones() {
    m_clones = detail::GeometryCopies(*SelectionCopy());
    const Matrix2D m = CalcTransform(m_basePoint, m_currentPoint);
    for (const IPatternPtr& clone : *m_clones) {
        if (clone) {
            clone->Transform(m);
        }
    }
    m_clones->UpdateCache();
}

void TransformPatActionBase::RecordTransform(const Matrix2D& matrix) {
    const PatternListPtr moved = SelectionCopy();
    if (!IsIdentity(matrix) && !moved->empty()) {
        const PatternListPtr geometry = detail::GeometryCopies(*moved);
        for (const IPatternPtr& clone : *geometry) {
            clone->Transform(matrix);
        }
        RunCommand(boost::make_shared<TransformPatCommand>(GetEditorData(), GetCommandName(), m_loops, moved,
                                                           geometry));
    }
    SwitchToSelection(moved);
}

int TransformPatActionBase::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    if (!IsConfirmed()) {
        return PreSelectActionBase::DrawBeforeFinish();
    }
    const PatternDrawer drawer(m_viewPort);
    drawer.DrawSelPatList(m_selection);
    if (m_transformStep == 1) {
        {
            ViewPenGuard pen(*m_viewPort);
            pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
            m_viewPort->DrawLinePoint2D(m_basePoint.x, m_basePoint.y, m_currentPoint.x, m_currentPoint.y);
        }
        drawer.DrawPatList(m_clones);
    }
    CursorDrawer(m_viewPort).DrawCrossLineCursor();
    return 1;
}

void TransformPatActionBase::UpdateForUndoRedo() {
    PruneSelection();
    if (IsConfirmed()) {
        m_selectStep = m_selection->empty() ? 0 : 2;
        m_transformStep = 0;
        m_clones->clear();
        ClearInputs();
        SetDrawAssist(0);
    }
    SetPromptMsg(kResSelectPrompt);
}

}  // namespace Norvane
