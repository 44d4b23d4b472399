#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a radius slot (code 30): the centre; the start of the centre line (radius and start angle); the end
// angle (the centre line runs counter-clockwise; a single typed value is the sweep in degrees); a point on
// the slot's edge (the width is twice its distance from the centre line, less than the diameter; a single
// typed value is the width).
// Grip-edits radius slots.
class GF_API RadSlotPatEditor : public GripEditActionBase {
public:
    RadSlotPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                     const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 4; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
