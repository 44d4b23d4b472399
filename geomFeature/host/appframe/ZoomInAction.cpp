#include "geomFeature/host/appframe/ZoomInAction.h"

#include "geomFeature/host/appframe/ViewActionType.h"

namespace Norvane {

namespace {

constexpr double kZoomInFactor = 2.0;
constexpr int kZoomInPrompt = 12008;

}  // namespace

ZoomInAction::ZoomInAction(const GlViewPortPtr& viewPort)
    : ZoomActionBase(viewPort, kZoomInFactor, kZoomInPrompt) {}

int ZoomInAction::GetActionType() const {
    return VIEW_ACTION_ZOOM_IN;
}

}  // namespace Norvane
