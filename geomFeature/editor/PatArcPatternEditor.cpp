#include "geomFeature/editor/PatArcPatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12330, 12331, 12332, 12333};
}  // namespace

PatArcPatternEditor::PatArcPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : ArrayPatEditorBase(patterns, loops, viewPort) {
    Restart();
}

int PatArcPatternEditor::GetActionType() const {
    return DRAW_PAT_ARC;
}

int PatArcPatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr PatArcPatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (!m_base || points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakePatArc(m_base, points[0], points[1], points[2],
                                     points.size() > 3 ? points[3] : points[2]));
}

int PatArcPatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 3) {
        return 0;
    }
    point = detail::ArcPlace(m_points[0], m_points[1], m_points[2], detail::TypedCount(value));
    return 1;
}

}  // namespace Norvane
