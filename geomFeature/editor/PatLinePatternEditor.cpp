#include "geomFeature/editor/PatLinePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12320, 12321, 12322};
}  // namespace

PatLinePatternEditor::PatLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                           const GlViewPortPtr& viewPort)
    : ArrayPatEditorBase(patterns, loops, viewPort) {
    Restart();
}

int PatLinePatternEditor::GetActionType() const {
    return DRAW_PAT_LINE;
}

int PatLinePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr PatLinePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (!m_base) {
        return PatternListPtr();
    }
    return ListOf(
        detail::MakePatLine(m_base, points[0], points[1], points.size() > 2 ? points[2] : points[1]));
}

int PatLinePatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = detail::RowPlace(m_points[0], m_points[1], detail::TypedCount(value));
    return 1;
}

}  // namespace Norvane
