#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/LinePatternEditor.h"

namespace Norvane {

// Draws a chain of lines (code 2): a start point, then one line per further point, each from the point
// before; every line is recorded as it is made and the tool stays, chaining. The right button ends the chain
// (the next point starts a new one); the cancel key leaves the tool. Keyboard, preview, undo and grip
// editing are the line tool's.
class GF_API MultiLinePatternEditor : public LinePatternEditor {
public:
    MultiLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                           const GlViewPortPtr& viewPort);

    int GetActionType() const override;
    int RButtonUp(double& x, double& y) override;
    int IsProcessRightClickEvent() const override { return 1; }

protected:
    // Records the line and goes on from its end point.
    void Record(const PatternListPtr& made) override;
};

}  // namespace Norvane
