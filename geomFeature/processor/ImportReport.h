#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/processor/ImportStage.h"

namespace Norvane {

// What an import did, for a summary, and how long each stage took.
struct ImportReport {
    struct StageTime {
        tagImportStage stage;
        double seconds = 0.0;     // wall-clock time
        double cpuSeconds = 0.0;  // processor time of the whole process over the same span
    };

    std::size_t piecesIn = 0;
    std::size_t duplicatesMerged = 0;  // pieces absorbed by another (duplicates, collinear, co-circular)
    std::size_t tinyRemoved = 0;
    std::size_t shapesRecognised = 0;
    std::size_t optimizeRemoved = 0;     // pieces fewer in the polygon loops after the optimisation
    std::size_t optimizeRecognised = 0;  // standard shapes recognised in the optimised loops (also counted above)
    std::size_t duplicateLoops = 0;      // loops removed as copies of another
    std::size_t arrays = 0;              // arrays recognised
    std::size_t arrayCopies = 0;         // standard shapes they took in (their seeds included)
    bool cancelled = false;         // stopped on request; the part holds what was done until then
    std::vector<StageTime> stages;  // the stages that ran, in order
};

}  // namespace Norvane
