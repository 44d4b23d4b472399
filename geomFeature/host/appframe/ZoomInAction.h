#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/ZoomActionBase.h"

namespace Norvane {

// Doubles the view's scale about each click (code VIEW_ACTION_ZOOM_IN).
class ZoomInAction : public ZoomActionBase {
public:
    explicit ZoomInAction(const GlViewPortPtr& viewPort);

    int GetActionType() const override;
};

using ZoomInActionPtr = boost::shared_ptr<ZoomInAction>;

}  // namespace Norvane
