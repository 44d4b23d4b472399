#include "geomFeature/editor/RectHolePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12410, 12411};
}  // namespace

RectHolePatternEditor::RectHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                             const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int RectHolePatternEditor::GetActionType() const {
    return DRAW_RECT_HOLE;
}

int RectHolePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr RectHolePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return ListOf(detail::MakeRectHole(points[0], points[1]));
}

}  // namespace Norvane
