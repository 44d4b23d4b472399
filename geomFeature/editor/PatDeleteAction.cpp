#include "geomFeature/editor/PatDeleteAction.h"

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatDeleteAction::PatDeleteAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                 const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : PreSelectActionBase(patterns, loops, viewPort, selection) {}

int PatDeleteAction::GetActionType() const {
    return EDIT_DELETE;
}

int PatDeleteAction::RButtonUp(double& /*x*/, double& /*y*/) {
    if (m_selectStep != -1 && !m_selection->empty()) {
        DeleteSelected(SelectionCopy());
    }
    return 1;
}

int PatDeleteAction::DeleteSelected(const PatternListPtr& selection) {
    const int deleted = PatternActionBase::DeleteSelected(selection);
    if (deleted != 0) {
        m_selectStep = -1;
    }
    return deleted;
}

}  // namespace Norvane
