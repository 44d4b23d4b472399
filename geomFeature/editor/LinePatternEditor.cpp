#include "geomFeature/editor/LinePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12301, 12302};
}  // namespace

LinePatternEditor::LinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                     const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int LinePatternEditor::GetActionType() const {
    return DRAW_LINE;
}

int LinePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr LinePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    return ListOf(detail::MakeLine(points[0], points[1]));
}

}  // namespace Norvane
