#pragma once

namespace Norvane {

// The three kinds of loop. The values are stored in the part database and must not change.
enum tagLoopType : int {
    LOOP_POLY = 0,   // a chain of lines and arcs (PolyPatLoop)
    LOOP_STD = 1,    // one closed standard shape (StdPatLoop)
    LOOP_ARRAY = 2,  // one array pattern standing for all its copies (ArrayPatLoop)
};

}  // namespace Norvane
