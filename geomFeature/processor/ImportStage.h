#pragma once

namespace Norvane {

// The stages of an import, in the order ImportPipeline runs them. Each can be switched off in ImportOptions.
// A new stage takes a value here (in running order), a switch in ImportOptions, a row in the stage table of
// ImportPipeline.cpp (its function, its share of the progress bar) and a progress text in the string table;
// its work reports through the ProgressMeter it is given and leaves the caches of what it changes current
// (bench/bench_import.cpp names every stage too).
enum class tagImportStage : int {
    Merge,         // duplicates and touching collinear / co-circular pieces become one
    RemoveTiny,    // pieces that fit in a tiny square are dropped
    MoveToOrigin,  // the part is moved so that its box starts at (0, 0)
    BuildLoops,    // loose pieces are chained into loops
    Orient,        // closed loops run clockwise, their pieces along them
    Recognise,     // closed loops that are standard shapes become those shapes
    Optimize,      // polygon loops: runs of short lines become arcs and lines, then recognition again
    Duplicates,    // a loop drawn twice keeps one copy
    Arrays,        // equal standard shapes in rows, grids and rings become arrays
    Nesting,       // the nesting tree and the boundary loop
};

}  // namespace Norvane
