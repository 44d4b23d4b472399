#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Norvane {

// An output file that nobody ever sees half written and that never costs the user a file.
//
// Everything that can be checked before the work is checked when the object is made, so that a run that
// cannot save fails at once, not after minutes of work:
//  - the output must not be the same file as an input, even with force (64): the paths are compared once
//    resolved (symbolic links, "..") and the files by identity (device and inode, so a hard link counts);
//  - an existing output is replaced only with force, and only when it is a regular file (73);
//  - the folder must exist and be writable: the temporary file is created there right away (73).
// The content then goes to the temporary file, which replaces the output in one rename (Commit). The
// temporary lives beside the output (so the rename is atomic), hidden, and named
// ".NAME.geomfeature-PID.tmp"; the program holds a lock on it while it writes. A temporary left by a run
// that was killed (SIGKILL, a crash, a power cut) holds no lock: the next run on the same output removes
// it, with the side files SQLite leaves beside it. On SIGINT and SIGTERM the temporary is removed at once
// (InterruptHandler); on any failure, when the object goes.
//
// Messages name the output as the user gave it, never the temporary file. Failures throw CliError.
class OutputFile {
public:
    OutputFile(const std::string& target, bool force, const std::vector<std::string>& inputs);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The file to write: it exists (empty) and belongs to this object until Commit.
    const std::string& Temporary() const { return m_temporary; }

    // Flushes the temporary file to disk and renames it onto the output (74 when either fails).
    void Commit();

    // Calls write(Temporary()), then Commit. A CliError or other exception thrown by write comes back
    // as a CliError whose message shows the output's name where it showed the temporary file's.
    void Write(const std::function<void(const std::string& temporary)>& write);

    // The message with every mention of the temporary file replaced by the output's name.
    std::string Scrub(const std::string& message) const;

    // Whether name (a file name without folder) is a temporary file, or a side file of one, that this
    // program makes for an output named output (a file name without folder).
    static bool IsTemporaryOf(const std::string& name, const std::string& output);

private:
    void RemoveTemporary();

    std::string m_shown;      // the output as the user named it
    std::string m_target;     // the output's resolved path
    std::string m_temporary;  // beside m_target
    int m_lock = -1;          // open descriptor of the temporary, holding its lock
    int m_slot = -1;          // InterruptHandler slot
    bool m_committed = false;
};

}  // namespace Norvane
