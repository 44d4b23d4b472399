#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/ArrayPatEditorBase.h"

namespace Norvane {

// Draws a grid of copies (code 33): the shape to repeat (the first copy); the copy diagonally next to it (its
// offset gives the column and row spacing, either sign; no offset along an axis makes one column or row); the
// copy at the opposite corner (the columns and rows that reach nearest to it). Grip-edits grid arrays.
class GF_API PatGridPatternEditor : public ArrayPatEditorBase {
public:
    PatGridPatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
};

}  // namespace Norvane
