#pragma once

namespace Norvane {

// An opaque handle of a host window (a drawing view, a bar, a progress window). The framework only passes it
// along: message boxes are owned by it and background tasks post their progress messages to it.
using WindowHandle = void*;

}  // namespace Norvane
