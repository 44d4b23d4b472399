#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/IInteract.h"
#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

class IAction;
using IActionPtr = boost::shared_ptr<IAction>;

// One interactive mode of an editor (a drawing tool, selection, zoom): it receives the input the editor
// passes on, draws its transient picture and, when it is done, names the action that follows it.
// The order of the virtual operations is fixed.
class IAction : public virtual IInteract {
public:
    ~IAction() override = default;

    // The action's code (the editor's tables of tools and actions).
    virtual int GetActionType() const = 0;
    // The first point the user entered in the current step, or empty when none.
    virtual Point2DPtr GetFstInput() const = 0;
    // The string resource numbers of the prompt to show (0 for none); answers 1.
    virtual int GetPromptMsg(int& messageID, int& secondID) const = 0;
    // The action to switch to after the current event, or empty to stay.
    virtual IActionPtr GetNextAction() const = 0;
    // Draws the action's transient picture (previews, rubber bands, cursor); answers 1.
    virtual int DrawBeforeFinish() = 0;
    // Turns a typed value into the point it stands for (relative input, a distance, an angle); answers 1.
    virtual int ConvertKBInput(double& x, double& y) = 0;
    // Called after an undo or redo changed the part under the action.
    virtual void UpdateForUndoRedo() = 0;
    // Called when the data the action works on was replaced or refreshed by someone else.
    virtual void UpdateActionBuffer() = 0;
    // 1 when the action uses the right button itself (the host then shows no context menu).
    virtual int IsProcessRightClickEvent() const = 0;
};

}  // namespace Norvane
