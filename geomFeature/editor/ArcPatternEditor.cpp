#include "geomFeature/editor/ArcPatternEditor.h"

#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12470, 12471, 12472};
}  // namespace

ArcPatternEditor::ArcPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                   const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int ArcPatternEditor::GetActionType() const {
    return DRAW_ARC;
}

int ArcPatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr ArcPatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakeArcByCentre(points[0], points[1], points[2]));
}

// At the end point: the sweep in degrees, turned from the start point about the centre.
int ArcPatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = m_points[1];
    point.RotateBasedPt(m_points[0], value * kTypedDegToRad);
    return 1;
}

}  // namespace Norvane
