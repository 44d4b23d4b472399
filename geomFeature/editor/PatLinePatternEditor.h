#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/ArrayPatEditorBase.h"

namespace Norvane {

// Draws a row of copies (code 12): the shape to repeat (the first copy); the second copy (the step); the last
// copy (the number of copies: the steps that reach nearest to it, plus one; at least two). At the last copy
// a single typed value is the number of copies. Grip-edits line arrays.
class GF_API PatLinePatternEditor : public ArrayPatEditorBase {
public:
    PatLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    int TypedValuePoint(double value, Point2D& point) const override;
};

}  // namespace Norvane
