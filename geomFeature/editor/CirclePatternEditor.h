#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a circle (code 9): the centre, then a point on the circle (the radius is their distance). Grip-edits
// circles.
class GF_API CirclePatternEditor : public GripEditActionBase {
public:
    CirclePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 2; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
