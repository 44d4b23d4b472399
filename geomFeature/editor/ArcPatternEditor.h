#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws an arc about a centre (code 5): the centre; the start point (the radius is its distance); the end
// point, whose direction ends the arc, which runs counter-clockwise. At the end point a single typed value is
// the sweep in degrees. Grip-edits arcs: the centre moves the arc; the start, middle and end reshape it as
// the arc through the three.
class GF_API ArcPatternEditor : public GripEditActionBase {
public:
    ArcPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                     const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
