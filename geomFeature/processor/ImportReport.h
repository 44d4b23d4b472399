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
    bool cancelled = false;         // stopped on request; the part holds what was done until then
    std::vector<StageTime> stages;  // the stages that ran, in order
};

}  // namespace Norvane
