#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws a line (code 1): the start point, then the end point. Grip-edits lines.
class GF_API LinePatternEditor : public GripEditActionBase {
public:
    LinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                      const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 2; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
