#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Replaces a standard shape by the lines and arcs of its outline (the explode action).
// Do: the shape leaves the list and the loops (DelPatFromLoopListEx, tolerance 1e-4); its pieces are
// computed afresh (PatDecomposer::DecomposeStdPat), their caches refreshed, each appended and joined to the
// loops (AddPatToLoopList); then the loop caches are refreshed. UnDo: the pieces leave the list and the
// loops (DelPatFromLoopList), the loop caches are refreshed, and the very same shape is appended again and
// gets its loop back (AddPatToLoopListEx). Both lists are marked modified and notified.
//
// A redo therefore makes new piece objects; each stands for the piece it replaces in the commands recorded
// after this one (PatternForwarding).
class GF_API ExplodeStdPatCommand : public PatternCommandBase {
public:
    ExplodeStdPatCommand(const EditorData& editorData, const PatternListPtr& patterns,
                         const PatLoopListPtr& loops, const IPatternPtr& pattern);

    void Do() override;
    void UnDo() override;

    // The pieces of the last Do (empty before the first).
    const PatternListPtr& GetPieces() const { return m_pieces; }

private:
    IPatternPtr m_pattern;
    PatternListPtr m_pieces;
};

using ExplodeStdPatCommandPtr = boost::shared_ptr<ExplodeStdPatCommand>;

}  // namespace Norvane
