#pragma once

#include <cstdint>

#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

// One row of the loop node table while a part is loaded. The node's position in its loop is not kept:
// the rows are read sorted by it, so a loop's entries already stand in loop order.
struct LoopNodeData {
    DataID nodeID = 0;
    DataID patternID = 0;
    DataID loopID = 0;
    int follow = 0;  // non-zero when the loop runs through the pattern from its start to its end
};

}  // namespace Norvane
