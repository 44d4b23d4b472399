#include "geomFeature/editor/RadSlotPatEditor.h"

#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12390, 12391, 12393, 12394};
}  // namespace

RadSlotPatEditor::RadSlotPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                   const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int RadSlotPatEditor::GetActionType() const {
    return DRAW_RAD_SLOT;
}

int RadSlotPatEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr RadSlotPatEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return PatternListPtr();
    }
    if (points.size() == 3) {  // the centre line so far
        return ListOf(detail::MakeArcByCentre(points[0], points[1], points[2]));
    }
    return ListOf(detail::MakeRadSlot(points[0], points[1], points[2], points[3]));
}

// At the end angle: the sweep in degrees, turned from the start of the centre line about the centre. At the
// edge: the width, as the point that far (halved) outside the centre line towards the cursor.
int RadSlotPatEditor::TypedValuePoint(double value, Point2D& point) const {
    if (m_step == 2) {
        point = m_points[1];
        point.RotateBasedPt(m_points[0], value * kTypedDegToRad);
        return 1;
    }
    if (m_step == 3) {
        point = TowardsCursor(m_points[0], m_points[0].DistanceTo(m_points[1]) + value / 2.0);
        return 1;
    }
    return 0;
}

}  // namespace Norvane
