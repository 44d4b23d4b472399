#include "geomFeature/editor/SingleDPatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12430, 12431, 12432};
}  // namespace

SingleDPatternEditor::SingleDPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                           const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int SingleDPatternEditor::GetActionType() const {
    return DRAW_SINGLE_D;
}

int SingleDPatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr SingleDPatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return ListOf(detail::MakeCircle(points[0], points[1]));
    }
    return ListOf(detail::MakeSingleD(points[0], points[1], points[2]));
}

int SingleDPatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = TowardsCursor(m_points[0], value);
    return 1;
}

}  // namespace Norvane
