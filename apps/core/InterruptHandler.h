#pragma once

#include <string>

namespace Norvane {

// What happens when a program is interrupted (SIGINT, Ctrl-C) or asked to stop (SIGTERM) half-way: the
// temporary files it is writing, with SQLite's side files (-journal, -wal, -shm), are removed, a progress
// line on the terminal is cleared, one line says what happened, and the program exits with 128 plus the
// signal's number (130, 143). Register and Unregister are called from the main thread only. Outputs are only
// ever replaced by renaming a finished temporary file onto them, so an interrupted program leaves every
// output as it was.
//
// Everything the handler does is async-signal-safe: the paths are copied into fixed buffers when they
// are registered, and the handler only unlinks, writes and exits.
class InterruptHandler {
public:
    // Installs the handlers for SIGINT and SIGTERM and ignores SIGXFSZ, so that a write past the file size
    // limit fails with an error (reported as an I/O error) instead of killing the program. program names
    // the program in the line printed (at most 63 characters are kept).
    static void Install(const std::string& program);

    // Marks path for removal on an interrupt; answers a slot for Unregister, or -1 when every slot is in
    // use or the path is too long (the file is then only removed by the normal error paths).
    static int Register(const std::string& path);
    static void Unregister(int slot);

    // Whether a progress line is on the terminal (stderr) now, to be cleared before the last line.
    static void SetProgressLineShown(bool shown);
};

}  // namespace Norvane
