#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/ArrayPatEditorBase.h"

namespace Norvane {

// Draws an arc of copies (code 31): the shape to repeat (the first copy); the centre of the arc the copies
// stand on; the second copy (its angle from the first is the step, either way round); the last copy (the
// number of copies: the steps nearest to its angle, plus one, no more than fit in a full turn). At the last
// copy a single typed value is the number of copies. Grip-edits arc arrays.
class GF_API PatArcPatternEditor : public ArrayPatEditorBase {
public:
    PatArcPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 4; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
