#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Adds copies (new patterns) to the part (the copy action). A copied array comes with a copy of its seed,
// linked to it; the seed joins no loop.
// Do: each copy in order has its cache refreshed, is appended and joins the loops (AddPatToLoopList,
// tolerance 1e-4); then the loop caches are refreshed. UnDo: each copy leaves the list and its loop
// (DelPatFromLoopList), then the loop caches are refreshed. Both lists are notified.
class GF_API CopyPatternCommand : public PatternCommandBase {
public:
    CopyPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                       const PatLoopListPtr& loops, const PatternListPtr& copies);

    void Do() override;
    void UnDo() override;

private:
    PatternListPtr m_copies;
};

using CopyPatternCommandPtr = boost::shared_ptr<CopyPatternCommand>;

}  // namespace Norvane
