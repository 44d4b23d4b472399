#include "geomFeature/editor/PatGridPatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12450, 12451, 12452};
}  // namespace

PatGridPatternEditor::PatGridPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                           const GlViewPortPtr& viewPort)
    : ArrayPatEditorBase(patterns, loops, viewPort) {
    Restart();
}

int PatGridPatternEditor::GetActionType() const {
    return DRAW_PAT_GRID;
}

int PatGridPatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr PatGridPatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (!m_base) {
        return PatternListPtr();
    }
    return ListOf(
        detail::MakePatGrid(m_base, points[0], points[1], points.size() > 2 ? points[2] : points[1]));
}

}  // namespace Norvane
