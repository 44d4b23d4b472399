#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/appframe/IObserver.h"
#include "geomFeature/host/appframe/SubjectBase.h"

namespace Norvane {
namespace {

// Records every notification into a shared journal as "<id>"; an optional action runs inside the callback.
class JournalObserver : public IObserver {
public:
    JournalObserver(DataID id, std::vector<std::string>& journal) : m_id(id), m_journal(journal) {}

    DataID GetObserverID() const override { return m_id; }
    void OnSubjectChanged(ISubject* subject) override {
        lastSubject = subject;
        m_journal.push_back(std::to_string(m_id));
        if (onNotify) {
            onNotify();
        }
    }

    ISubject* lastSubject = nullptr;
    std::function<void()> onNotify;

private:
    DataID m_id;
    std::vector<std::string>& m_journal;
};

using Journal = std::vector<std::string>;

TEST(SubjectBaseTest, NotifiesInRegistrationOrderOncePerObserver) {
    Journal journal;
    SubjectBase subject;
    JournalObserver a(1, journal), b(2, journal), sameIdAsA(1, journal);

    subject.AddObserver(&b);
    subject.AddObserver(&a);
    subject.AddObserver(&b);          // same object again
    subject.AddObserver(&sameIdAsA);  // another object with a registered id
    subject.AddObserver(nullptr);
    EXPECT_EQ(subject.GetObserverCount(), 2u);

    subject.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"2", "1"}));
    EXPECT_EQ(a.lastSubject, static_cast<ISubject*>(&subject));
    EXPECT_EQ(sameIdAsA.lastSubject, nullptr);
}

TEST(SubjectBaseTest, RemoveByIdStopsNotifications) {
    Journal journal;
    SubjectBase subject;
    JournalObserver a(1, journal), b(2, journal);
    subject.AddObserver(&a);
    subject.AddObserver(&b);

    subject.RemoveObserver(99);  // unknown id: nothing happens
    subject.RemoveObserver(1);
    subject.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"2"}));

    // A removed observer can register again and then comes last.
    subject.AddObserver(&a);
    journal.clear();
    subject.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"2", "1"}));
}

TEST(SubjectBaseTest, CopiesDoNotInheritObservers) {
    Journal journal;
    SubjectBase original;
    JournalObserver a(1, journal), b(2, journal);
    original.AddObserver(&a);

    SubjectBase copy(original);
    EXPECT_EQ(copy.GetObserverCount(), 0u);
    copy.NotifyAllObserver();
    EXPECT_TRUE(journal.empty());

    // Assignment changes the value, not who watches the target: the target keeps its own observers.
    SubjectBase target;
    target.AddObserver(&b);
    target = original;
    target.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"2"}));

    journal.clear();
    original.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"1"}));
}

TEST(SubjectBaseTest, ObserversMayChangeTheRegistryWhileBeingNotified) {
    Journal journal;
    SubjectBase subject;
    JournalObserver first(1, journal), second(2, journal), third(3, journal), late(4, journal);
    subject.AddObserver(&first);
    subject.AddObserver(&second);
    subject.AddObserver(&third);

    // The first observer removes itself and the third, and registers a new one.
    first.onNotify = [&] {
        subject.RemoveObserver(1);
        subject.RemoveObserver(3);
        subject.AddObserver(&late);
    };
    subject.NotifyAllObserver();
    // The removed third is not called; the one added during the round waits for the next round.
    EXPECT_EQ(journal, (Journal{"1", "2"}));

    journal.clear();
    subject.NotifyAllObserver();
    EXPECT_EQ(journal, (Journal{"2", "4"}));
}

}  // namespace
}  // namespace Norvane
