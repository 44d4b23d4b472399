#pragma once

#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

class ISubject;

// Something that wants to hear when a subject (a pattern, the pattern list, the loop list) has changed.
// Observers are identified by GetObserverID, which must stay fixed while the observer is registered.
class IObserver {
public:
    virtual ~IObserver() = default;
    virtual DataID GetObserverID() const = 0;
    virtual void OnSubjectChanged(ISubject* subject) = 0;
};

}  // namespace Norvane
