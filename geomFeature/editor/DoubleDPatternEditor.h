#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a double-D hole (code 19): the centre; a point on the circle (the radius); the middle of one flat
// (the other lies opposite; the flats' angle is normalised with tolerance 1e-9). Flats outside the circle
// build nothing. Grip-edits double-D holes.
class GF_API DoubleDPatternEditor : public GripEditActionBase {
public:
    DoubleDPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    // At the third point a single typed value is the distance to the flats, measured from the first point
    // towards the cursor.
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
