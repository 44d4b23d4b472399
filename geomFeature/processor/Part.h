#pragma once

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopTopItemList.h"

namespace Norvane {

// The geometry of one part as an import or a load hands it on: its patterns, its loops and their nesting.
struct Part {
    PatternListPtr patterns;
    PatLoopListPtr loops;
    LoopTopItemListPtr tree;  // empty until nesting is computed
};

}  // namespace Norvane
