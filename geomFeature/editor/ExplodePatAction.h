#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PreSelectActionBase.h"

namespace Norvane {

// Explodes standard shapes into lines and arcs, and arrays into their copies (code 61). The pattern under
// the cursor (the nearest one, seeds skipped) is highlighted; a click explodes it (ExplodeStdPatCommand or
// ExplodeArrayPatCommand) and hands over to selection. A click on a line or an arc shows message 12500 and
// prompt 12501. It does not use the drawing assistant.
class GF_API ExplodePatAction : public PreSelectActionBase {
public:
    ExplodePatAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                     const GlViewPortPtr& viewPort);

    int GetActionType() const override;
    int LButtonDown(double& x, double& y) override;
    int LButtonUp(double& x, double& y) override;
    int IsProcessRightClickEvent() const override { return 0; }
    void UpdateForUndoRedo() override;
};

}  // namespace Norvane
