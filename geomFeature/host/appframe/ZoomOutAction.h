#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/ZoomActionBase.h"

namespace Norvane {

// Halves the view's scale about each click (code VIEW_ACTION_ZOOM_OUT).
class ZoomOutAction : public ZoomActionBase {
public:
    explicit ZoomOutAction(const GlViewPortPtr& viewPort);

    int GetActionType() const override;
};

using ZoomOutActionPtr = boost::shared_ptr<ZoomOutAction>;

}  // namespace Norvane
