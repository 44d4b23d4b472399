#include "geomFeature/editor/PatCirclePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12460, 12461, 12462};
}  // namespace

PatCirclePatternEditor::PatCirclePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                               const GlViewPortPtr& viewPort)
    : ArrayPatEditorBase(patterns, loops, viewPort) {
    Restart();
}

int PatCirclePatternEditor::GetActionType() const {
    return DRAW_PAT_CIRCLE;
}

int PatCirclePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr PatCirclePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (!m_base || points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakePatCircle(m_base, points[0], points[1], points[2]));
}

int PatCirclePatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = detail::CirclePlace(m_points[0], m_points[1], detail::TypedCount(value));
    return 1;
}

}  // namespace Norvane
