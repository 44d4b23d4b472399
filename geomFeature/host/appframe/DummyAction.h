#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/ActionBase.h"

namespace Norvane {

// The action of an editor before a tool is chosen: it ignores every input, draws nothing and shows no
// prompt. Its code is VIEW_ACTION_NONE.
class DummyAction : public ActionBase {
public:
    explicit DummyAction(const GlViewPortPtr& viewPort) : ActionBase(viewPort) {}

    int GetActionType() const override;
};

using DummyActionPtr = boost::shared_ptr<DummyAction>;

}  // namespace Norvane
