#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IAction.h"

namespace Norvane {

// Marks an action that works on the part's patterns (every action of this module).
class GF_API IPatManAction : public virtual IAction {
public:
    ~IPatManAction() override = default;

    // Non-zero when the editor is to run the drawing assistant while the mouse moves over this action.
    virtual int SupportDrawAssist() const = 0;
};

using IPatManActionPtr = boost::shared_ptr<IPatManAction>;

}  // namespace Norvane
