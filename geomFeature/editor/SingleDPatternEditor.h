#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a single-D hole (code 11): the centre; a point on the circle (the radius); the middle of the flat
// (its distance from the centre and its direction; the flat's angle is normalised with tolerance 1e-9). A
// flat outside the circle builds nothing. Grip-edits single-D holes.
class GF_API SingleDPatternEditor : public GripEditActionBase {
public:
    SingleDPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    // At the third point a single typed value is the distance to the flat, measured from the first point
    // towards the cursor.
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
