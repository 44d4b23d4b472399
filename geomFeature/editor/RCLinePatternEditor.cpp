#include "geomFeature/editor/RCLinePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12350, 12351, 12352};
}  // namespace

RCLinePatternEditor::RCLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int RCLinePatternEditor::GetActionType() const {
    return DRAW_RC_LINE;
}

int RCLinePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr RCLinePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    const double radius = points.size() > 2 ? points[1].DistanceTo(points[2]) : 0.0;
    return detail::MakeRectLines(points[0], points[1], radius);
}

}  // namespace Norvane
