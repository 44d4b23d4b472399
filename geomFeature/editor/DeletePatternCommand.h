#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Deletes patterns from the part (the delete action, the delete key of the selection).
// Do: the patterns leave the list (by identifier, PatternList::RemovePatternsEx); each that is not the seed
// of an array leaves its loop (DelPatFromLoopList, tolerance 1e-4; a seed has no loop of its own); the loop
// caches are refreshed and, while loops remain, the boundary loop is chosen again. UnDo: the very same
// patterns are appended to the list again and rejoin the loops the same way. Both lists are marked modified
// and notified; undo puts back the loops as they were.
class GF_API DeletePatternCommand : public PatternCommandBase {
public:
    DeletePatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                         const PatLoopListPtr& loops, const PatternListPtr& deleted);

    void Do() override;
    void UnDo() override;

private:
    void FinishLoops();

    PatternListPtr m_deleted;
};

using DeletePatternCommandPtr = boost::shared_ptr<DeletePatternCommand>;

}  // namespace Norvane
