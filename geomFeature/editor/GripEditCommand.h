#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Gives a pattern of the part other geometry (the drawing tools' grip editing): `geometry` is a pattern of
// the same kind holding the new geometry. The edited pattern stays the same object throughout.
// Do and UnDo swap: the pattern's current geometry is kept (a clone), the pattern takes the held geometry
// (UpdateFrom), its cache is refreshed, it is marked modified, and the loops re-link it
// (LoopProcessor::ChangePatInLoopList). The pattern and the loop list are notified.
class GF_API GripEditCommand : public PatternCommandBase {
public:
    GripEditCommand(const EditorData& editorData, const PatLoopListPtr& loops, const IPatternPtr& pattern,
                    const IPatternPtr& geometry);

    void Do() override;
    void UnDo() override;

    const IPatternPtr& GetPattern() const { return m_pattern; }

private:
    void Swap(bool forward);

    IPatternPtr m_pattern;
    IPatternPtr m_held;
};

using GripEditCommandPtr = boost::shared_ptr<GripEditCommand>;

}  // namespace Norvane
