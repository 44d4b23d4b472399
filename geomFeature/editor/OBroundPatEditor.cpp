#include "geomFeature/editor/OBroundPatEditor.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12380, 12381, 12382};
}  // namespace

OBroundPatEditor::OBroundPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                   const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int OBroundPatEditor::GetActionType() const {
    return DRAW_OBROUND;
}

int OBroundPatEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr OBroundPatEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakeOBround(points[0], points[1], points[2]));
}

int OBroundPatEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step != 2) {
        return 0;
    }
    point = TowardsCursor(m_points[0], value);
    return 1;
}

}  // namespace Norvane
