#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Moves or turns patterns of the part (the move and rotate actions): `geometry` holds, in the same order,
// one pattern per transformed pattern with its new geometry (a pattern named twice is moved once, to the
// geometry given first). The patterns stay the same objects. Its name is the caller's.
// Do and UnDo swap, pattern by pattern: the current geometry is kept (a clone), the pattern takes the held
// geometry (UpdateFrom) and is marked modified; then the patterns' caches are refreshed, the loops re-link
// them (ChangePatInLoopList: a closed loop moved whole keeps its chain) and the loop list is marked modified.
// The patterns and the loop list are notified.
class GF_API TransformPatCommand : public PatternCommandBase {
public:
    TransformPatCommand(const EditorData& editorData, const std::wstring& name, const PatLoopListPtr& loops,
                        const PatternListPtr& patterns, const PatternListPtr& geometry);

    void Do() override;
    void UnDo() override;

private:
    void Swap(bool forward);

    PatternListPtr m_transformed;
    PatternListPtr m_held;
};

using TransformPatCommandPtr = boost::shared_ptr<TransformPatCommand>;

}  // namespace Norvane
