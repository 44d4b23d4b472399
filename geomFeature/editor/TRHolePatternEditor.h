#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a triangular hole (code 18): the middle of the base; one end of the base (the other lies as far on
// the other side); the apex side and the height (the distance of the third point from the middle of the
// base). Grip-edits triangles.
class GF_API TRHolePatternEditor : public GripEditActionBase {
public:
    TRHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    // At the third point a single typed value is the height, measured from the first point towards the
    // cursor.
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
