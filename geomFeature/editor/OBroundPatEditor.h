#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws an obround (code 22): the centre; the centre of one end arc (half the distance between the arc
// centres, and the direction); a point whose distance from the centre is half the width. Grip-edits
// obrounds.
class GF_API OBroundPatEditor : public GripEditActionBase {
public:
    OBroundPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
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
