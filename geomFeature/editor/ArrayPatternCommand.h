#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"
#include "geomFeature/pattern/IArrayPattern.h"

namespace Norvane {

// Makes a new array that repeats a pattern of the part (the array drawing tools). The array is given its
// control pattern when it has none yet.
// Do: the array's cache is refreshed, it is appended to the list and gets its loop (AddPatToLoopListEx);
// the control pattern becomes the array's seed and leaves the loops (DelPatFromLoopListEx): the array's
// loop stands for it. UnDo: the array leaves the list and the loops, the seed is free again and gets its
// loop back (AddPatToLoopListEx). Both lists are marked modified and notified.
class GF_API ArrayPatternCommand : public PatternCommandBase {
public:
    ArrayPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                        const PatLoopListPtr& loops, const IArrayPatternPtr& array,
                        const IPatternPtr& control);

    void Do() override;
    void UnDo() override;

private:
    void ResolveControl();

    IArrayPatternPtr m_array;
    IPatternPtr m_control;
};

using ArrayPatternCommandPtr = boost::shared_ptr<ArrayPatternCommand>;

}  // namespace Norvane
