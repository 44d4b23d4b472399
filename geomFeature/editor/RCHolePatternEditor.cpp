#include "geomFeature/editor/RCHolePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12400, 12401, 12404};
}  // namespace

RCHolePatternEditor::RCHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int RCHolePatternEditor::GetActionType() const {
    return DRAW_RC_HOLE;
}

int RCHolePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr RCHolePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return ListOf(detail::MakeRCHole(points[0], points[1], points.size() > 2 ? points[2] : points[1]));
}

}  // namespace Norvane
