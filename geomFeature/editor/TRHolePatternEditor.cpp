#include "geomFeature/editor/TRHolePatternEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12420, 12421, 12423};
}  // namespace

TRHolePatternEditor::TRHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int TRHolePatternEditor::GetActionType() const {
    return DRAW_TR_HOLE;
}

int TRHolePatternEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr TRHolePatternEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakeTRHole(points[0], points[1], points[2]));
}

int TRHolePatternEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = TowardsCursor(m_points[0], value);
    return 1;
}

}  // namespace Norvane
