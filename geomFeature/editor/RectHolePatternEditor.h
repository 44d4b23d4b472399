#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a rectangular hole (code 4): two opposite corners; its sides are parallel to the axes. Grip-edits
// rectangular holes.
class GF_API RectHolePatternEditor : public GripEditActionBase {
public:
    RectHolePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                          const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 2; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
