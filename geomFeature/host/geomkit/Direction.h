#pragma once

namespace Norvane {

// Turning sense of a closed chain or an arc: clockwise or counter-clockwise.
enum tagDirection { DIR_CW = 0, DIR_CCW = 1 };

}  // namespace Norvane
