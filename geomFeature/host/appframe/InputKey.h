#pragma once

namespace Norvane {

// Character codes of the keys that are not typed text. A host delivers a key that produces a character as
// that character ('1', ',', '@', 'a') and the keys below as these codes; Ctrl with a letter may arrive as
// the letter or as its control code (Ctrl+A as 1).
enum tagInputKey : unsigned int {
    KEY_CTRL_A = 1,
    KEY_BACKSPACE = 8,
    KEY_LINEFEED = 10,
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_DELETE = 127,
};

}  // namespace Norvane
