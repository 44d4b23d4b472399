#include "geomFeature/editor/OffsetLoopCommand.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

OffsetLoopCommand::OffsetLoopCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                     const PatLoopListPtr& loops, const IPatLoopPtr& loop, int side,
                                     double distance)
    : PartEditCommand(
          editorData, ResourceString::Load(kResOffsetLoopCmd), patterns, loops,
          [this, patterns, loop, side, distance] {
              return LoopProcessor::OffsetPolyLoop(patterns, loop, side, distance, m_report);
          },
          ChangedInPlace(loop)) {}

PatternListPtr OffsetLoopCommand::ChangedInPlace(const IPatLoopPtr& loop) {
    if (!loop || loop->GetLoopType() == LOOP_POLY || loop->GetLoopNodes()->empty()) {
        return boost::make_shared<PatternList>();
    }
    return loop->GetPatternList();
}

}  // namespace Norvane
