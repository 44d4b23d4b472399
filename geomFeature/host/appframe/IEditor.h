#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/IAction.h"
#include "geomFeature/host/appframe/IInteract.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// An editor: the receiver of a drawing view's input, which it passes to its one current action.
// The order of the virtual operations is fixed.
class IEditor : public virtual IInteract {
public:
    ~IEditor() override = default;

    // The current action (never empty).
    virtual IActionPtr GetActionObject() const = 0;
    // Makes a new DummyAction current: no tool.
    virtual void SetDummyAction() = 0;
    // The viewport the editor draws in.
    virtual GlViewPortPtr GetDrawer() const = 0;
    // Shows the current action's prompt and the typed text in the output bar.
    virtual void UpdateOutputBar() = 0;
    // Tells the current action that an undo or redo changed the data.
    virtual void UpdateActionForUndoRedo() = 0;
    virtual std::wstring GetEditorName() const = 0;
};

using IEditorPtr = boost::shared_ptr<IEditor>;

}  // namespace Norvane
