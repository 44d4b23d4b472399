#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PartEditCommand.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/processor/LoopOffsetReport.h"

namespace Norvane {

// The offset of one closed loop by LoopProcessor::OffsetPolyLoop (side 0 grows the region the loop
// encloses, any other side shrinks it), as an undoable command.
//
// The first Do offsets. A polygon loop gets new line and arc patterns in place of its old ones, which leave
// the pattern list; a standard shape or an array keeps its pattern object and changes its dimensions. UnDo
// gives back the same old pattern objects at their places in the list, or the old dimensions; redo the
// state the first Do made. The offset runs only once.
//
// When the offset cannot be made, GetResult answers 0 after the first Do, the part is unchanged and the
// report says why: such a command has nothing to undo and is not handed to the command manager.
class GF_API OffsetLoopCommand : public PartEditCommand {
public:
    OffsetLoopCommand(const EditorData& editorData, const PatternListPtr& patterns,
                      const PatLoopListPtr& loops, const IPatLoopPtr& loop, int side, double distance);

    const LoopOffsetReport& GetReport() const { return m_report; }

private:
    // What the offset changes in place: a standard shape, or an array and its seed; nothing of a polygon
    // loop, whose old patterns are kept whole.
    static PatternListPtr ChangedInPlace(const IPatLoopPtr& loop);

    LoopOffsetReport m_report;
};

using OffsetLoopCommandPtr = boost::shared_ptr<OffsetLoopCommand>;

}  // namespace Norvane
