#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"
#include "geomFeature/pattern/IArrayPattern.h"

namespace Norvane {

// Replaces an array by one free pattern per copy (the explode action).
// Do: the pieces are computed afresh (PatDecomposer::DecomposeGridPat), their caches refreshed, each
// appended and joined to the loops (AddPatToLoopList, tolerance 1e-4), the loop caches refreshed; then the
// array's seed and the array leave the list and the array's loop goes (DelPatFromLoopListEx). UnDo: the
// pieces leave the list and the loops, the loop caches are refreshed, the very same seed and then the array
// are appended again and the array gets its loop back (AddPatToLoopListEx). The array keeps its seed
// throughout. Both lists are marked modified and notified.
//
// A redo therefore makes new piece objects; each stands for the piece it replaces in the commands recorded
// after this one (PatternForwarding).
class GF_API ExplodeArrayPatCommand : public PatternCommandBase {
public:
    ExplodeArrayPatCommand(const EditorData& editorData, const PatternListPtr& patterns,
                           const PatLoopListPtr& loops, const IArrayPatternPtr& array);

    void Do() override;
    void UnDo() override;

    // The pieces of the last Do (empty before the first).
    const PatternListPtr& GetPieces() const { return m_pieces; }

private:
    IArrayPatternPtr m_array;
    IPatternPtr m_control;
    PatternListPtr m_pieces;
};

using ExplodeArrayPatCommandPtr = boost::shared_ptr<ExplodeArrayPatCommand>;

}  // namespace Norvane
