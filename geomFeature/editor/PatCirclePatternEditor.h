#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/ArrayPatEditorBase.h"

namespace Norvane {

// Draws a full circle of copies (code 32): the shape to repeat (the first copy); the centre of the circle;
// the second copy (the number of copies is how often its angle from the first fits in a full turn, rounded,
// at least two). At the second copy a single typed value is the number of copies. Grip-edits circle arrays.
class GF_API PatCirclePatternEditor : public ArrayPatEditorBase {
public:
    PatCirclePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                           const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
