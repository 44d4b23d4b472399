#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// Draws an arc through three points (code 6): its start, a point on it, its end. Three points on one line
// build nothing: the third click is ignored (the handler answers 0) and the tool waits for another. After an
// arc the tool stays, ready for the next one. Grip-edits arcs as the arc tool does.
class GF_API Arc3PtPatEditor : public GripEditActionBase {
public:
    Arc3PtPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                    const GlViewPortPtr& viewPort);

    int GetActionType() const override;

protected:
    int GetClickCount() const override { return 3; }
    int GetStepPrompt(int step) const override;
    PatternListPtr MakePatterns(const std::vector<Point2D>& points) const override;
    // Records the arc and stays in the tool.
    void Record(const PatternListPtr& made) override;
};

}  // namespace Norvane
