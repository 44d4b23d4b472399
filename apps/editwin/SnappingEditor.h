#pragma once

#include <boost/shared_ptr.hpp>

#include "apps/editwin/SnapIndex.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/appframe/ICommand.h"

namespace Norvane {

// The geometry editor of a window on large parts: the drawing assistant searches only the patterns near
// the cursor (SnapIndex) instead of the whole part, with the same result. The index follows the part: it is
// rebuilt on the first move after the pattern list was replaced, a command was done, undone or redone, or
// the window said the part changed beside the history (PartChanged).
class SnappingEditor : public GeometryEditor {
public:
    SnappingEditor(const GlViewPortPtr& viewPort, const DrawAssistorPtr& assistor);

    int MovePoint(double& x, double& y) override;
    // The part's patterns were added, removed or changed.
    void PartChanged() { m_stale = true; }

private:
    SnapIndex m_index;
    bool m_stale = true;
    // The undo history when the index was built (its top held, so that its address is not reused).
    ICommandPtr m_top;
    std::size_t m_undo = 0;
    std::size_t m_redo = 0;
};

using SnappingEditorPtr = boost::shared_ptr<SnappingEditor>;

}  // namespace Norvane
