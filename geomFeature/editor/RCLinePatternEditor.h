#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a rectangle with rounded corners out of lines and quarter arcs (code 8): two opposite corners (sides
// parallel to the axes), then the corner radius as the distance of the third point from the second corner.
// A radius larger than half the smaller side builds nothing and starts the tool over. Each piece is recorded
// by its own command; then selection with the pieces.
class GF_API RCLinePatternEditor : public GripEditActionBase {
public:
    RCLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int RestartWhenDegenerate() const override { return 1; }
};

}  // namespace Norvane
