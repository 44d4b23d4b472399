#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternActionBase.h"

namespace Norvane {

// The editor's resting action (code 50): it holds the selected patterns and shows them in the pattern
// property bar. The list object it holds is the one the editor hands to the next action it is asked for
// (delete, copy, move, rotate), so that action works on exactly this selection. It does not use the
// drawing assistant.
class GF_API PatternSelectAction : public PatternActionBase {
public:
    PatternSelectAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

    // The selection (the list object itself, never empty).
    const PatternListPtr& GetSelPatList() const { return m_selection; }
    // Selects the patterns of list (in its order, replacing the selection), makes the pattern property bar
    // visible and shows their properties.
    void SelectPatList(const PatternListPtr& list);

    // After an undo or redo: the property bar is hidden and every selected pattern the pattern list no
    // longer holds leaves the selection.
    void UpdateForUndoRedo() override;
    // The selection in the selection colour, and the pick-box cursor.
    int DrawBeforeFinish() override;

protected:
    PatternListPtr m_selection;
};

using PatternSelectActionPtr = boost::shared_ptr<PatternSelectAction>;

}  // namespace Norvane
