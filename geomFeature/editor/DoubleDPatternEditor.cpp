#include "geomFeature/editor/DoubleDPatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12360, 12361, 12362};
}  // namespace

DoubleDPatternEditor::DoubleDPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                           const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int DoubleDPatternEditor::GetActionType() const {
    return DRAW_DOUBLE_D;
}

int DoubleDPatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr DoubleDPatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return ListOf(detail::MakeCircle(points[0], points[1]));
    }
    return ListOf(detail::MakeDoubleD(points[0], points[1], points[2]));
}

int DoubleDPatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = TowardsCursor(m_points[0], value);
    return 1;
}

}  // namespace Norvane
