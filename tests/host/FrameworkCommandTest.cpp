#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/CommandBase.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/TaskEx.h"

namespace Norvane {
namespace {

using Journal = std::vector<std::wstring>;

class JournalCommand : public CommandBase {
public:
    JournalCommand(const std::wstring& name, Journal& journal)
        : CommandBase(EditorData(reinterpret_cast<WindowHandle>(0x1234), L"Editor"), name),
          m_journal(journal) {}
    void Do() override { m_journal.push_back(L"do " + m_commandName); }
    void UnDo() override { m_journal.push_back(L"undo " + m_commandName); }

private:
    Journal& m_journal;
};

class CommandManagerTest : public ::testing::Test {
protected:
    void SetUp() override { CommandManager::GetInstance()->Clear(); }
    void TearDown() override { CommandManager::GetInstance()->Clear(); }

    ICommandPtr Done(const std::wstring& name) {
        auto command = boost::make_shared<JournalCommand>(name, journal);
        command->Do();  // creators hand over commands that are already done
        return command;
    }

    Journal journal;
};

TEST_F(CommandManagerTest, UndoAndRedoWalkTheHistoryInOrder) {
    CommandManager* manager = CommandManager::GetInstance();
    EXPECT_EQ(manager->CanUndo(), 0);
    EXPECT_EQ(manager->Undo(), 0);
    EXPECT_EQ(manager->Redo(), 0);

    manager->AddCommand(Done(L"A"));
    manager->AddCommand(Done(L"B"));
    manager->AddCommand(Done(L"C"));
    journal.clear();

    EXPECT_EQ(manager->Undo(), 1);
    EXPECT_EQ(manager->Undo(), 1);
    EXPECT_EQ(manager->Redo(), 1);
    EXPECT_EQ(manager->Undo(), 1);
    EXPECT_EQ(manager->Undo(), 1);
    EXPECT_EQ(manager->Undo(), 0);  // history exhausted
    EXPECT_EQ(journal, (Journal{L"undo C", L"undo B", L"do B", L"undo B", L"undo A"}));
    EXPECT_EQ(manager->CanUndo(), 0);
    EXPECT_EQ(manager->GetRedoCount(), 3u);
    EXPECT_EQ(manager->GetRedoCommand()->GetCommandName(), L"A");
}

TEST_F(CommandManagerTest, NewCommandDiscardsTheRedoHistory) {
    CommandManager* manager = CommandManager::GetInstance();
    manager->AddCommand(Done(L"A"));
    manager->AddCommand(Done(L"B"));
    manager->Undo();
    EXPECT_EQ(manager->CanRedo(), 1);

    manager->AddCommand(Done(L"C"));
    manager->AddCommand(ICommandPtr());  // ignored
    EXPECT_EQ(manager->CanRedo(), 0);
    EXPECT_FALSE(manager->GetRedoCommand());
    EXPECT_EQ(manager->GetUndoCount(), 2u);
    EXPECT_EQ(manager->GetUndoCommand()->GetCommandName(), L"C");

    journal.clear();
    manager->Undo();
    manager->Undo();
    EXPECT_EQ(journal, (Journal{L"undo C", L"undo A"}));

    manager->Clear();
    EXPECT_EQ(manager->CanUndo(), 0);
    EXPECT_EQ(manager->CanRedo(), 0);
}

// Counts to `steps`, reporting each step, and stops early when cancelled.
class CountingTask : public TaskEx {
public:
    explicit CountingTask(int steps) : m_steps(steps) {}
    void Run() override {
        for (int i = 0; i < m_steps; ++i) {
            std::lock_guard<std::mutex> lock(m_progress->GetMutex());
            if (m_progress->IsCancelled()) {
                m_progress->SetFinished(true);
                m_progress->SetSubTask(L"cancelled");
                PostMessageToWindow(kProgressMessage);
                return;
            }
            m_progress->SetPercentage(100.0 * (i + 1) / m_steps);
            m_progress->SetSubTask(L"step " + std::to_wstring(i + 1));
            PostMessageToWindow(kProgressMessage);
        }
        std::lock_guard<std::mutex> lock(m_progress->GetMutex());
        m_progress->SetFinished(true);
        PostMessageToWindow(kProgressMessage);
    }
    static constexpr unsigned int kProgressMessage = 9409;

private:
    int m_steps;
};

class TaskExTest : public ::testing::Test {
protected:
    void SetUp() override {
        TaskEx::SetMessagePoster(
            [this](WindowHandle window, unsigned int message, std::uintptr_t w, std::intptr_t l) {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (window == kWindow && message == CountingTask::kProgressMessage && w == 0 && l == 0) {
                    ++posted;
                }
            });
    }
    void TearDown() override { TaskEx::SetMessagePoster(nullptr); }

    static inline const WindowHandle kWindow = reinterpret_cast<WindowHandle>(0x42);
    std::mutex m_mutex;
    int posted = 0;
};

TEST_F(TaskExTest, RunsOnceOnAWorkerAndReportsThroughSharedProgress) {
    auto shared = boost::make_shared<ProgressData>();
    CountingTask task(5);
    task.SetWindow(kWindow);
    task.SetProgressData(shared);
    task.SetProgressData(boost::shared_ptr<ProgressData>());  // ignored
    EXPECT_EQ(task.GetProgressData(), shared);

    ASSERT_TRUE(task.Start());
    EXPECT_FALSE(task.Start());
    task.Join();
    task.Join();  // harmless once finished

    std::lock_guard<std::mutex> lock(shared->GetMutex());
    EXPECT_TRUE(shared->IsFinished());
    EXPECT_EQ(shared->GetPercentage(), 100.0);
    EXPECT_EQ(shared->GetSubTask(), L"step 5");
    EXPECT_EQ(posted, 6);  // five steps and the end
}

TEST_F(TaskExTest, CancelledTaskStopsAtItsFirstCheck) {
    CountingTask task(5);
    task.SetWindow(kWindow);
    {
        std::lock_guard<std::mutex> lock(task.GetProgressData()->GetMutex());
        task.GetProgressData()->SetCancel(true);
    }
    task.Start();
    task.Join();
    auto progress = task.GetProgressData();
    std::lock_guard<std::mutex> lock(progress->GetMutex());
    EXPECT_TRUE(progress->IsFinished());
    EXPECT_EQ(progress->GetPercentage(), 0.0);
    EXPECT_EQ(progress->GetSubTask(), L"cancelled");
    EXPECT_EQ(posted, 1);
}

}  // namespace
}  // namespace Norvane
