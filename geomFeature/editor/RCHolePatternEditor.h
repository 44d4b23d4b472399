#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a rounded rectangle (code 7): the centre; a corner (the sides, parallel to the axes); the corner
// radius as the distance of the third point from that corner, clamped to half the smaller side. Grip-edits
// rounded rectangles.
class GF_API RCHolePatternEditor : public GripEditActionBase {
public:
    RCHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
