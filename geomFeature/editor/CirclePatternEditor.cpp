#include "geomFeature/editor/CirclePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12463, 12464};
}  // namespace

CirclePatternEditor::CirclePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int CirclePatternEditor::GetActionType() const {
    return DRAW_CIRCLE;
}

int CirclePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr CirclePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return ListOf(detail::MakeCircle(points[0], points[1]));
}

}  // namespace Norvane
