#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/uikit/MessageBoxRequest.h"

namespace Norvane {

// Shows message boxes: a window system's modal boxes in a desktop host, a recorder in tests.
class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    // Shows the box and answers the button pressed (a tagMsgBoxResult).
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
};

using IMessageBoxServicePtr = boost::shared_ptr<IMessageBoxService>;

}  // namespace Norvane
