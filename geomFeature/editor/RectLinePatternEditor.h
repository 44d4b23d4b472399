#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a rectangle of four lines (code 3): two opposite corners. The sides run counter-clockwise from
// the lower left corner; the four lines are recorded one command each and selected.
class GF_API RectLinePatternEditor : public GripEditActionBase {
public:
    RectLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                          const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 2; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
