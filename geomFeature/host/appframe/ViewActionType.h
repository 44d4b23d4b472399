#pragma once

namespace Norvane {

// Codes of the framework's own actions, which work on the view rather than on the data.
enum tagViewActionType : int {
    VIEW_ACTION_NONE = -1,      // DummyAction: no tool chosen
    VIEW_ACTION_ZOOM_IN = -2,   // ZoomInAction
    VIEW_ACTION_ZOOM_OUT = -3,  // ZoomOutAction
};

}  // namespace Norvane
