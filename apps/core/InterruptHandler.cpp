#include "apps/core/InterruptHandler.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace Norvane {

namespace {

constexpr std::size_t kSlots = 8;
constexpr std::size_t kMaxPath = 4096;
// The side files SQLite may create beside a database it writes.
constexpr std::array<const char*, 4> kSuffixes = {"", "-journal", "-wal", "-shm"};
constexpr std::size_t kMaxSuffix = 9;  // "-journal" and its terminator

struct Slot {
    std::atomic<bool> used{false};
    char path[kMaxPath + kMaxSuffix] = {};
};

std::array<Slot, kSlots> g_slots;
std::atomic<bool> g_progressLine{false};
char g_program[64] = "program";

void Write(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, text, left);
        if (n <= 0) {
            return;
        }
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

extern "C" void OnInterrupt(int signal) {
    bool removed = false;
    for (Slot& slot : g_slots) {
        if (!slot.used.load(std::memory_order_acquire)) {
            continue;
        }
        removed = true;
        const std::size_t length = std::strlen(slot.path);
        for (const char* suffix : kSuffixes) {
            std::strcpy(slot.path + length, suffix);
            ::unlink(slot.path);
        }
        slot.path[length] = '\0';
    }
    if (g_progressLine.load()) {
        Write("\r\033[K");
    }
    Write(g_program);
    Write(signal == SIGINT ? ": interrupted" : ": terminated");
    // Said only while an output is unfinished: one already renamed into place is complete.
    Write(removed ? "; the unfinished output was removed and existing files are as they were\n" : "\n");
    ::_exit(128 + signal);
}

}  // namespace

void InterruptHandler::Install(const std::string& program) {
    std::strncpy(g_program, program.c_str(), sizeof g_program - 1);
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Both signals are blocked while the handler runs, so a second one cannot interrupt the clean-up.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
}

int InterruptHandler::Register(const std::string& path) {
    if (path.size() >= kMaxPath) {
        return -1;
    }
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = g_slots[i];
        if (slot.used.load(std::memory_order_acquire)) {
            continue;
        }
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used.store(true, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

void InterruptHandler::Unregister(int slot) {
    if (slot >= 0 && static_cast<std::size_t>(slot) < kSlots) {
        g_slots[static_cast<std::size_t>(slot)].used.store(false, std::memory_order_release);
    }
}

void InterruptHandler::SetProgressLineShown(bool shown) {
    g_progressLine.store(shown);
}

}  // namespace Norvane
