#pragma once

#include <utility>
#include <vector>

#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

// Pairs of pattern identifiers. The loop offset fills one with (new pattern, the original pattern it was
// made from), one pair per node of the offset loop in node order; see PolyLoopOffsetter.
using PatIDPair = std::pair<DataID, DataID>;
using PatIDPairList = std::vector<PatIDPair>;

}  // namespace Norvane
