#include "geomFeature/host/appframe/DummyAction.h"

#include "geomFeature/host/appframe/ViewActionType.h"

namespace Norvane {

int DummyAction::GetActionType() const {
    return VIEW_ACTION_NONE;
}

}  // namespace Norvane
