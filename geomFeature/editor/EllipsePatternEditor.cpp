#include "geomFeature/editor/EllipsePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12370, 12371, 12372};
}  // namespace

EllipsePatternEditor::EllipsePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                           const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int EllipsePatternEditor::GetActionType() const {
    return DRAW_ELLIPSE;
}

int EllipsePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr EllipsePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return ListOf(detail::MakeEllipse(points[0], points[1], points.size() > 2 ? points[2] : points[1]));
}

int EllipsePatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = TowardsCursor(m_points[0], value);
    return 1;
}

}  // namespace Norvane
