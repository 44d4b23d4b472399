#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws an ellipse (code 10): the centre; one end of the major axis (its length and direction); a point
// whose distance from the centre is half the width. Grip-edits ellipses.
class GF_API EllipsePatternEditor : public GripEditActionBase {
public:
    EllipsePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    // At the third point a single typed value is half the width, measured from the first point towards the
    // cursor.
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
