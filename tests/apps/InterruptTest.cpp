// Interrupted and killed runs: SIGINT and SIGTERM remove the temporary file and leave the output as it
// was (exit 130, 143); what a SIGKILL leaves is cleaned up by the next run on the same output, but never a
// temporary another running program still holds; and on a terminal the progress line moves while the
// work runs and is cleared when it stops.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "apps/core/TerminalProgress.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "tests/apps/ProgramRunner.h"

namespace Norvane::programtest {
namespace {

using Clock = std::chrono::steady_clock;

// A drawing of a few hundred bytes that expands to side x side lines: long enough to interrupt.
std::string Grid(int side) {
    const std::string n = std::to_string(side);
    return "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n0\n"
           "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n10\n0\n20\n0\n70\n" +
           n + "\n71\n" + n + "\n44\n2\n45\n2\n0\nENDSEC\n0\nEOF\n";
}

// The temporary files (and their side files) of output in its folder.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".geomfeature-") != std::string::npos || name.find(".tmp-") != std::string::npos) {
            found.push_back(name);
        }
    }
    return found;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

// Starts the program with its output going to files; answers its pid.
pid_t Spawn(const std::vector<std::string>& arguments, const fs::path& log) {
    std::vector<char*> argv;
    std::string program = GF_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copy = arguments;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int ExitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

class InterruptTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(InterruptTest, RemovesTheTemporaryAndKeepsTheOutput) {
    const int signal = GetParam();
    std::ofstream(In("grid.dxf")) << Grid(500);
    std::ofstream(In("out.db")) << "precious";
    const pid_t pid = Spawn({"import", In("grid.dxf"), "-o", In("out.db"), "--force", "-q"}, dir / "log");
    // The temporary exists from before the reading to the rename: interrupt inside that window.
    ASSERT_TRUE(WaitFor([this] { return !Temporaries(dir).empty(); }, std::chrono::seconds(20)));
    ::kill(pid, signal);
    EXPECT_EQ(ExitCode(pid), 128 + signal);
    EXPECT_TRUE(Temporaries(dir).empty()) << Temporaries(dir).front();
    EXPECT_EQ(ReadFile(In("out.db")), "precious");
    EXPECT_NE(ReadFile(dir / "log").find(signal == SIGINT ? "interrupted" : "terminated"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return info.param == SIGINT ? "Sigint" : "Sigterm"; });

// A run killed outright leaves its temporary; so do runs of older versions (".NAME.tmp-PID") and a run
// that died while SQLite kept a journal. The next run on the same output removes them all, but not the
// temporary of a run still going (it holds a lock on it), nor temporaries of other outputs.
TEST_F(ProgramTest, KilledRunsLeaveNothingForTheNextOne) {
    std::ofstream(In("grid.dxf")) << Grid(500);
    const pid_t pid = Spawn({"import", In("grid.dxf"), "-o", In("out.db"), "-q"}, dir / "log");
    ASSERT_TRUE(WaitFor([this] { return !Temporaries(dir).empty(); }, std::chrono::seconds(20)));
    ::kill(pid, SIGKILL);
    EXPECT_EQ(ExitCode(pid), -SIGKILL);
    const std::vector<std::string> left = Temporaries(dir);
    ASSERT_EQ(left.size(), 1u);
    std::ofstream(dir / (left[0] + "-journal")) << "journal";
    std::ofstream(In(".out.db.geomfeature-99999999.tmp-wal")) << "orphan";
    std::ofstream(In(".out.db.tmp-" + std::to_string(pid))) << "old version";
    std::ofstream(In(".other.db.geomfeature-123.tmp")) << "another output's";
    // A run still writing: its temporary is locked.
    const std::string live = In(".out.db.geomfeature-7.tmp");
    std::ofstream(live) << "live";
    const int lock = ::open(live.c_str(), O_RDWR);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);

    const ProgramRun next = Program("import " + Sample("plate.dxf") + " -o " + In("out.db") + " -q");
    EXPECT_EQ(next.code, 0) << next.err;
    EXPECT_EQ(Temporaries(dir),
              (std::vector<std::string>{".other.db.geomfeature-123.tmp", ".out.db.geomfeature-7.tmp"}));
    ::close(lock);
}

// On a terminal the line shows the stage and the percentage, and is redrawn at least twice a second even
// while one stage runs long; -q keeps the terminal quiet. An interrupt clears the line first.
TEST_F(ProgramTest, ProgressLineMovesOnATerminal) {
    std::ofstream(In("grid.dxf")) << Grid(700);
    for (const bool quiet : {false, true}) {
        int master = -1;
        const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const std::string output = In(quiet ? "quiet.db" : "loud.db");
            ::execl(GF_PROGRAM, GF_PROGRAM, "import", In("grid.dxf").c_str(), "-o", output.c_str(),
                    "--max-pieces", "1000000", quiet ? "-q" : "--tree", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::string seen;
        std::vector<Clock::time_point> redraws;
        const auto end = Clock::now() + std::chrono::seconds(quiet ? 2 : 20);
        while (Clock::now() < end && redraws.size() < 4) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            const std::size_t before = seen.size();
            seen.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t at = seen.find("%] ", before > 3 ? before - 3 : 0); at != std::string::npos;
                 at = seen.find("%] ", at + 1)) {
                redraws.push_back(Clock::now());
            }
        }
        ::kill(pid, SIGINT);
        char buffer[512];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            seen.append(buffer, static_cast<std::size_t>(n));
        EXPECT_EQ(ExitCode(pid), 130);
        ::close(master);
        if (quiet) {
            EXPECT_TRUE(redraws.empty()) << seen;
            continue;
        }
        ASSERT_EQ(redraws.size(), 4u) << seen;
        // Four redraws a second nominally; under a loaded machine still well over one a second.
        EXPECT_LT(redraws[3] - redraws[0], std::chrono::milliseconds(2500));
        EXPECT_NE(seen.find("\r\033[K["), std::string::npos);
        EXPECT_TRUE(seen.find("reading") != std::string::npos || seen.find("placing") != std::string::npos)
            << seen;
        EXPECT_NE(seen.find("\r\033[Kgeomfeature: interrupted"), std::string::npos) << seen;
    }
}

// A ProgressData that the work fills is shown as it is, at every redraw.
TEST(TerminalProgress, ShowsAWatchedProgressData) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    const auto data = boost::make_shared<ProgressData>();
    {
        std::lock_guard<std::mutex> lock(data->GetMutex());
        data->SetSubTask(L"chaining loops");
        data->SetPercentage(42.0);
    }
    {
        TerminalProgress progress(true, stream);
        progress.Watch(data);
        std::this_thread::sleep_for(TerminalProgress::kRedrawPeriod * 3);
    }
    std::rewind(stream);
    std::string text;
    for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(stream);
    EXPECT_GE(Count(text, "\r\033[K[ 42%] chaining loops ("), 2u) << text;
    EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K");  // cleared when done
}

}  // namespace
}  // namespace Norvane::programtest
