#include "geomFeature/editor/ExplodePatAction.h"

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

ExplodePatAction::ExplodePatAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                   const GlViewPortPtr& viewPort)
    : PreSelectActionBase(patterns, loops, viewPort, PatternListPtr()) {
    SetPromptMsg(kResExplodePrompt);
}

int ExplodePatAction::GetActionType() const {
    return EDIT_EXPLODE;
}

int ExplodePatAction::LButtonDown(double& x, double& y) {
    const IPatternPtr picked = PatternAt(Point2D(x, y));
    if (!picked) {
        return 1;
    }
    if (ExplodePat(picked) == 0) {
        ShowWarning(kResExplodeRefused);
        SetPromptMsg(kResExplodePrompt);
    }
    return 1;
}

int ExplodePatAction::LButtonUp(double& /*x*/, double& /*y*/) {
    return 1;
}

void ExplodePatAction::UpdateForUndoRedo() {
    PruneSelection();
}

}  // namespace Norvane
