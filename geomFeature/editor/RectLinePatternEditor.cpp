#include "geomFeature/editor/RectLinePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12310, 12311};
}  // namespace

RectLinePatternEditor::RectLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                             const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int RectLinePatternEditor::GetActionType() const {
    return DRAW_RECT_LINE;
}

int RectLinePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr RectLinePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return detail::MakeRectLines(points[0], points[1], 0.0);
}

}  // namespace Norvane
