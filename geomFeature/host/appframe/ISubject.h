#pragma once

#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

class IObserver;

// An object whose changes can be observed. A subject does not own its observers: an observer removes itself
// before it goes away.
class ISubject {
public:
    virtual ~ISubject() = default;
    // Registers the observer; ignored when it is null or already registered (same object or same id).
    virtual void AddObserver(IObserver* observer) = 0;
    // Unregisters every observer with this id; nothing happens when there is none.
    virtual void RemoveObserver(DataID observerID) = 0;
    // Calls OnSubjectChanged(this) on every registered observer, in registration order.
    virtual void NotifyAllObserver() = 0;
};

}  // namespace Norvane
