#include "geomFeature/host/appframe/ZoomOutAction.h"

#include "geomFeature/host/appframe/ViewActionType.h"

namespace Norvane {

namespace {

constexpr double kZoomOutFactor = 0.5;
constexpr int kZoomOutPrompt = 12009;

}  // namespace

ZoomOutAction::ZoomOutAction(const GlViewPortPtr& viewPort)
    : ZoomActionBase(viewPort, kZoomOutFactor, kZoomOutPrompt) {}

int ZoomOutAction::GetActionType() const {
    return VIEW_ACTION_ZOOM_OUT;
}

}  // namespace Norvane
