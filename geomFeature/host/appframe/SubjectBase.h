#pragma once

#include <vector>

#include "geomFeature/host/appframe/ISubject.h"

namespace Norvane {

// The observer registry of a subject.
//
// Observers watch one object, not its value: copying a subject (copy construction) starts with no observers,
// and assigning one subject to another keeps the target's own observers. Notification tolerates observers
// that add or remove observers (themselves included) from inside OnSubjectChanged: it walks a snapshot of
// the registry and skips entries removed meanwhile; observers added meanwhile are first called next time.
// Not thread-safe: subjects are changed and notified on the user-interface thread.
class SubjectBase : public virtual ISubject {
public:
    SubjectBase() = default;
    SubjectBase(const SubjectBase& other);
    SubjectBase& operator=(const SubjectBase& other);
    ~SubjectBase() override = default;

    void AddObserver(IObserver* observer) override;
    void RemoveObserver(DataID observerID) override;
    void NotifyAllObserver() override;

    std::size_t GetObserverCount() const { return m_observers.size(); }

private:
    std::vector<IObserver*> m_observers;
};

}  // namespace Norvane
