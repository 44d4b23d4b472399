#pragma once

#include <vector>

#include "geomFeature/host/uikit/CNumEdit.h"

namespace Norvane {

// One control of a modal dialog, as a window system draws it and a script fills it: a numeric edit or a
// group of radio buttons, identified by its control id and captioned by a string resource.
struct DialogControl {
    enum class Kind { Number, Choice };

    Kind kind = Kind::Number;
    int controlID = 0;
    int labelID = 0;
    // Kind::Number: the edit.
    CNumEdit edit;
    // Kind::Choice: the captions of the buttons (string resources) and the index of the selected one.
    std::vector<int> optionIDs;
    int selected = 0;
};

}  // namespace Norvane
