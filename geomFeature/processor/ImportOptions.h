#pragma once

namespace Norvane {

// Settings of the import of loose geometry (ImportPipeline): the tolerances, and which stages run. The
// defaults suit drawings in millimetres.
struct ImportOptions {
    double joinTol = 1e-4;   // pieces whose ends are closer than this are chained into one contour
    double mergeTol = 1e-4;  // collinear lines / co-circular arcs touching within this become one piece
    double tinySize = 1e-3;  // pieces whose box fits in a square of this side are dropped as junk

    bool merge = true;          // merge duplicates and pieces that continue each other
    bool removeTiny = true;     // drop pieces no bigger than tinySize
    bool moveToOrigin = false;  // move the part so that its box starts at (0, 0)
    bool orient = true;         // closed loops clockwise, their pieces along them (recognition needs it)
    bool recognise = true;      // replace closed contours that are standard shapes by those shapes
    bool nest = true;           // compute the nesting tree and the boundary loop

    // Stages the module leaves to its caller (the program turns the last two on).
    bool optimize = false;          // fit runs of short lines in polygon loops with arcs and longer lines
    double optimizeTol = 0.01;      // ...each replacement within this distance of the pieces it replaces
    bool removeDuplicates = false;  // a loop drawn twice (same box, length and element count) keeps one copy
    bool arrays = false;            // equal standard shapes in rows, grids and rings become arrays
};

}  // namespace Norvane
