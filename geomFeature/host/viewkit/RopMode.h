#pragma once

namespace Norvane {

// How a viewport combines what it draws with what is already on the surface.
enum tagRopMode : int {
    ROP_NORMAL = 0,     // paint over what is there
    ROP_XOR = 1,        // invert what is there, so drawing the same thing twice erases it (rubber bands)
    ROP_HIGHLIGHT = 2,  // paint over it and make it stand out (the item under the cursor)
};

}  // namespace Norvane
