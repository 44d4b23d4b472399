#include "geomFeature/editor/GripEditActionBase.h"

#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/AddPatternCommand.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/GripEditCommand.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/editor/detail/PatternGrips.h"
#include "geomFeature/editor/detail/ShapeBuild.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

GripEditActionBase::GripEditActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                       const GlViewPortPtr& viewPort)
    : PatternActionBase(patterns, loops, viewPort), m_preview(boost::make_shared<PatternList>()) {}

void GripEditActionBase::SetGripEditPat(const IPatternPtr& pattern) {
    m_gripPat = pattern;
    m_gripIndex = -1;
    m_points.clear();
    m_preview->clear();
    ClearInputs();
}

void GripEditActionBase::SetGripEditPt(double x, double y) {
    if (!m_gripPat) {
        return;
    }
    Point2DList snaps;
    m_gripPat->GetSnapPoints(snaps);
    for (std::size_t i = 0; i < snaps.size(); ++i) {
        // Strict: a point exactly kGripMatchTol away (Manhattan) is not this grip.
        if (std::fabs(snaps[i].x - x) + std::fabs(snaps[i].y - y) < kGripMatchTol) {
            m_gripIndex = static_cast<int>(i);
            ClearInputs();
            AddInput(snaps[i]);
            m_cursor = snaps[i];
            SetPromptMsg(detail::GripPrompt(m_gripPat->GetPatternType(), m_gripIndex));
            return;
        }
    }
}

int GripEditActionBase::LButtonDown(double& x, double& y) {
    const Point2D point(x, y);
    if (m_gripPat) {
        return GripClick(point);
    }
    if (AtStart()) {
        Restart();
    }
    if (m_step + 1 < GetClickCount()) {
        TakePoint(point);
        return 1;
    }
    // The last point: build, or refuse the point.
    std::vector<Point2D> points = m_points;
    points.push_back(point);
    const PatternListPtr made = MakePatterns(points);
    if (!made || made->empty()) {
        if (RestartWhenDegenerate() != 0) {
            Restart();
            return 1;
        }
        return 0;
    }
    m_points = points;
    m_step = GetClickCount();
    SetPromptMsg(GetStepPrompt(0));
    ClearInputs();
    m_preview->clear();
    Record(made);
    return 1;
}

int GripEditActionBase::GripClick(const Point2D& point) {
    const IPatternPtr geometry = detail::DragGrip(m_gripPat, m_gripIndex, point);
    if (!geometry) {
        return 0;
    }
    const IPatternPtr edited = m_gripPat;
    RunCommand(boost::make_shared<GripEditCommand>(GetEditorData(), m_loops, edited, geometry));
    m_gripPat.reset();
    m_gripIndex = -1;
    m_preview->clear();
    ClearInputs();
    SwitchToSelection(ListOf(edited));
    return 1;
}

int GripEditActionBase::MovePoint(double& x, double& y) {
    m_cursor = Point2D(x, y);
    UpdatePreview();
    return 1;
}

void GripEditActionBase::UpdatePreview() {
    if (m_gripPat) {
        // An unsound place keeps the last sound shape on the screen.
        if (const IPatternPtr dragged = detail::DragGrip(m_gripPat, m_gripIndex, m_cursor)) {
            m_preview = ListOf(dragged);
        }
        return;
    }
    m_preview = boost::make_shared<PatternList>();
    if (AtStart()) {
        return;
    }
    std::vector<Point2D> points = m_points;
    points.push_back(m_cursor);
    const PatternListPtr shape = MakePatterns(points);
    if (shape && !shape->empty()) {
        m_preview = shape;
    } else if (const IPatternPtr band = detail::MakeLine(m_points.back(), m_cursor)) {
        m_preview->push_back(band);
    }
}

int GripEditActionBase::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    return KeyDownForPoint(ch, repeatCount, flags);
}

int GripEditActionBase::ConvertKBInput(double& x, double& y) {
    double value = 0.0;
    double unused = 0.0;
    Point2D point;
    if (!m_gripPat && ValInputMgr::GetInstance()->GetInput(value, unused) == 1 &&
        TypedValuePoint(value, point) != 0) {
        x = point.x;
        y = point.y;
        return 1;
    }
    return PatternActionBase::ConvertKBInput(x, y);
}

int GripEditActionBase::TypedValuePoint(double /*value*/, Point2D& /*point*/) const {
    return 0;
}

int GripEditActionBase::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    if (!m_preview->empty()) {
        PatternDrawer(m_viewPort).DrawPatList(m_preview);
    }
    CursorDrawer(m_viewPort).DrawCrossLineCursor();
    return 1;
}

void GripEditActionBase::UpdateForUndoRedo() {
    if (!m_gripPat) {
        return;
    }
    const IPatternPtr current = PatternForwarding::Resolve(m_gripPat);
    if (!m_patterns || !m_patterns->GetPatFromID(current->GetID())) {
        SetNextAction(boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort));
        return;
    }
    m_gripPat = current;
    UpdatePreview();
}

void GripEditActionBase::Record(const PatternListPtr& made) {
    for (const IPatternPtr& pattern : *made) {
        RunCommand(boost::make_shared<AddPatternCommand>(GetEditorData(), m_patterns, m_loops, pattern));
    }
    SwitchToSelection(made);
}

Point2D GripEditActionBase::TowardsCursor(const Point2D& from, double distance) const {
    Point2D cursor = m_cursor;
    if (m_viewPort) {
        m_viewPort->GetCursorPos(cursor.x, cursor.y);
    }
    Vector2D direction = cursor - from;
    if (direction.Length() == 0.0) {  // exact: no direction at all
        direction = Vector2D(1.0, 0.0);
    }
    direction.Magnitude(distance);
    return from + direction;
}

void GripEditActionBase::Restart() {
    m_step = 0;
    m_points.clear();
    m_preview->clear();
    ClearInputs();
    SetPromptMsg(GetStepPrompt(0));
}

void GripEditActionBase::TakePoint(const Point2D& point) {
    m_points.push_back(point);
    AddInput(point);
    m_step = static_cast<int>(m_points.size());
    SetPromptMsg(GetStepPrompt(m_step));
}

PatternListPtr GripEditActionBase::ListOf(const IPatternPtr& pattern) {
    auto list = boost::make_shared<PatternList>();
    if (pattern) {
        list->push_back(pattern);
    }
    return list;
}

}  // namespace Norvane
