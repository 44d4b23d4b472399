#pragma once

#include <cstddef>

#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace testplate {

// Loose pieces of a generated sheet-metal plate, as an import delivers them: an outer contour (sides split
// into touching and overlapping collinear pieces) and groups of holes of every standard kind drawn as lines
// and arcs (circles as one, two or four arcs, ellipses as 36 lines), free-form cut-outs with islands nested
// three deep, open marks and junk. The pieces are perturbed as real drawings are: tiny gaps at some joints,
// duplicated pieces, reversed pieces, a shuffled order.
//
// On top of that come the cases where an indexed algorithm could part from a plain scan: joints at equal
// distances (ties), several pieces meeting at one point, gaps of exactly the joining tolerance, contours
// drawn twice a hair apart, holes touching each other and the outer contour, a hole in a notch of the outer
// contour (inside its box, outside its outline), long lines and circles cut into many pieces, concentric
// arcs, zero-length lines.
//
// The same seed and size always give the same pieces (new pattern objects each time), so a plate can be
// made twice and cleaned by two implementations.
struct PlateSpec {
    unsigned seed = 1;
    std::size_t pieces = 1000;  // about this many
    double joinTol = 1e-4;      // the tolerance whose boundary some gaps sit on
};

PatternListPtr MakePlate(const PlateSpec& spec);

}  // namespace testplate
}  // namespace Norvane
