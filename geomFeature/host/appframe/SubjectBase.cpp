#include "geomFeature/host/appframe/SubjectBase.h"

#include <algorithm>

#include "geomFeature/host/appframe/IObserver.h"

namespace Norvane {

SubjectBase::SubjectBase(const SubjectBase& /*other*/) : ISubject() {}

SubjectBase& SubjectBase::operator=(const SubjectBase& /*other*/) {
    return *this;
}

void SubjectBase::AddObserver(IObserver* observer) {
    if (observer == nullptr) {
        return;
    }
    const DataID id = observer->GetObserverID();
    bool present = std::any_of(m_observers.begin(), m_observers.end(),
                               [&](const IObserver* o) { return o == observer || o->GetObserverID() == id; });
    if (!present) {
        m_observers.push_back(observer);
    }
}

void SubjectBase::RemoveObserver(DataID observerID) {
    std::erase_if(m_observers, [observerID](const IObserver* o) { return o->GetObserverID() == observerID; });
}

void SubjectBase::NotifyAllObserver() {
    const std::vector<IObserver*> snapshot = m_observers;
    for (IObserver* observer : snapshot) {
        // An observer removed by an earlier callback may already be gone; only call registered ones.
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end()) {
            observer->OnSubjectChanged(this);
        }
    }
}

}  // namespace Norvane
