#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Adds one new pattern to the part (the single-pattern drawing tools).
// Do: the pattern's cache is refreshed, it is appended to the pattern list and joins the loops
// (LoopProcessor::AddPatToLoopListEx, tolerance 1e-4). UnDo: it leaves the list and its loop
// (DelPatFromLoopListEx). Both lists are marked modified and notified; undo puts back the loops as they were.
class GF_API AddPatternCommand : public PatternCommandBase {
public:
    AddPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                      const PatLoopListPtr& loops, const IPatternPtr& pattern);

    void Do() override;
    void UnDo() override;

    const IPatternPtr& GetPattern() const { return m_pattern; }

private:
    IPatternPtr m_pattern;
};

using AddPatternCommandPtr = boost::shared_ptr<AddPatternCommand>;

}  // namespace Norvane
