#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PreSelectActionBase.h"

namespace Norvane {

// Deletes patterns (code 60). Chosen with a selection, the editor deletes it at once; otherwise the user
// selects patterns (PreSelectActionBase) and confirms with the right button. The seed of every selected
// array goes with the array, through one DeletePatternCommand; then the selection is marked confirmed and
// the action hands over to selection. It does not use the drawing assistant.
class GF_API PatDeleteAction : public PreSelectActionBase {
public:
    PatDeleteAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                    const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int GetActionType() const override;
    int RButtonUp(double& x, double& y) override;
    int DeleteSelected(const PatternListPtr& selection) override;
    void UpdateForUndoRedo() override { PruneSelection(); }
};

}  // namespace Norvane
