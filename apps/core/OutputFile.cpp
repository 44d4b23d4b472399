#include "apps/core/OutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>

#include "apps/core/CliError.h"
#include "apps/core/InterruptHandler.h"

namespace Norvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMark = ".geomfeature-";
constexpr const char* kTemporarySuffix = ".tmp";
// The side files SQLite may leave beside a database it was writing when the program died.
constexpr std::array<const char*, 3> kSideSuffixes = {"-journal", "-wal", "-shm"};

bool AllDigits(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// Same file: identical once resolved, or the same device and inode (a hard link).
bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const fs::path ra = fs::weakly_canonical(a, ec);
    if (!ec) {
        const fs::path rb = fs::weakly_canonical(b, ec);
        if (!ec && ra == rb) {
            return true;
        }
    }
    struct stat sa = {};
    struct stat sb = {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Exit code of a failure to create a file in a folder: the place refuses (73), or the disk failed (74).
ExitCode CreateFailureCode(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ENOENT:
        case ENOTDIR:
        case EEXIST:
        case ENAMETOOLONG:
            return kExitCantCreate;
        default:
            return kExitIoError;
    }
}

// Removes what killed runs left for the output named name in folder: temporaries nobody holds a lock on,
// side files whose temporary is gone, and the temporaries of earlier versions of the program
// (".NAME.tmp-PID") whose process no longer runs.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return;
    }
    const std::string legacy = "." + name + ".tmp-";
    for (const fs::directory_entry& entry : it) {
        const std::string file = entry.path().filename().string();
        if (file.rfind(legacy, 0) == 0 && AllDigits(file.substr(legacy.size()))) {
            const long pid = std::strtol(file.c_str() + legacy.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
                fs::remove(entry.path(), ec);
            }
            continue;
        }
        if (!OutputFile::IsTemporaryOf(file, name)) {
            continue;
        }
        // The temporary's own name: up to the first ".tmp" after the mark that follows the output's name.
        const std::size_t head = name.size() + 1 + std::strlen(kMark);
        const std::size_t end = file.find(kTemporarySuffix, head) + std::strlen(kTemporarySuffix);
        const fs::path temporary = folder / file.substr(0, end);
        if (end != file.size()) {  // a side file: stale when its temporary is gone
            if (!fs::exists(temporary, ec)) {
                fs::remove(entry.path(), ec);
            }
            continue;
        }
        const int fd = ::open(temporary.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            continue;
        }
        // A running program holds the lock until it is done with the file; the kernel drops the lock of a
        // program that died, however it died.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fs::remove(temporary, ec);
            for (const char* suffix : kSideSuffixes) {
                fs::remove(temporary.string() + suffix, ec);
            }
        }
        ::close(fd);
    }
}

}  // namespace

bool OutputFile::IsTemporaryOf(const std::string& name, const std::string& output) {
    const std::string head = "." + output + kMark;
    if (name.rfind(head, 0) != 0) {
        return false;
    }
    std::string rest = name.substr(head.size());
    for (const char* suffix : kSideSuffixes) {
        const std::string s = std::string(kTemporarySuffix) + suffix;
        if (rest.size() > s.size() && rest.compare(rest.size() - s.size(), s.size(), s) == 0) {
            rest.resize(rest.size() - std::strlen(suffix));
            break;
        }
    }
    const std::string tmp = kTemporarySuffix;
    return rest.size() > tmp.size() && rest.compare(rest.size() - tmp.size(), tmp.size(), tmp) == 0 &&
           AllDigits(rest.substr(0, rest.size() - tmp.size()));
}

OutputFile::OutputFile(const std::string& target, bool force, const std::vector<std::string>& inputs)
    : m_shown(target) {
    std::error_code ec;
    const fs::path given(target);
    for (const std::string& input : inputs) {
        if (SameFile(given, input)) {
            throw CliError(kExitUsage, target +
                                           (target == input ? ": is the input itself"
                                                            : ": is the same file as the input " + input) +
                                           "; writing it would destroy the input (choose another output)");
        }
    }
    // A symbolic link is followed: the file it names is replaced and the link stays.
    fs::path path = fs::is_symlink(given, ec) ? fs::weakly_canonical(given, ec) : given;
    if (ec) {
        path = given;
    }
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        throw CliError(kExitCantCreate, target + ": is a folder, not a file");
    }
    if (fs::exists(status)) {
        if (!force) {
            throw CliError(kExitCantCreate, target + ": already exists (use --force to replace it)");
        }
        if (!fs::is_regular_file(status)) {
            throw CliError(kExitCantCreate, target + ": is not a regular file; it is never replaced");
        }
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        throw CliError(kExitCantCreate, target + ": no such folder");
    }
    const std::string name = path.filename().string();
    RemoveStaleTemporaries(folder, name);

    m_target = path.string();
    m_temporary = (folder / ("." + name + kMark + std::to_string(::getpid()) + kTemporarySuffix)).string();
    m_slot = InterruptHandler::Register(m_temporary);
    m_lock = ::open(m_temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (m_lock < 0) {
        const int error = errno;
        InterruptHandler::Unregister(m_slot);
        throw CliError(CreateFailureCode(error),
                       target + ": cannot create a file in " +
                           (path.has_parent_path() ? folder.string() : "the current folder") + " (" +
                           std::strerror(error) + ")");
    }
    ::flock(m_lock, LOCK_EX | LOCK_NB);  // nobody else knows the file yet
}

OutputFile::~OutputFile() {
    if (!m_committed) {
        RemoveTemporary();
    }
    if (m_lock >= 0) {
        ::close(m_lock);
    }
    InterruptHandler::Unregister(m_slot);
}

void OutputFile::RemoveTemporary() {
    std::error_code ec;
    fs::remove(m_temporary, ec);
    for (const char* suffix : kSideSuffixes) {
        fs::remove(m_temporary + suffix, ec);
    }
}

void OutputFile::Commit() {
    // The writers close their own streams; this flushes the file they wrote (same inode) to the disk,
    // so that after the rename the output is complete even if the machine stops.
    if (::fsync(m_lock) != 0) {
        throw CliError(kExitIoError, m_shown + ": writing failed (" + std::strerror(errno) + ")");
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        throw CliError(kExitIoError, m_shown + ": cannot replace the file (" + std::strerror(error) + ")");
    }
    m_committed = true;
    InterruptHandler::Unregister(m_slot);
    m_slot = -1;
}

std::string OutputFile::Scrub(const std::string& message) const {
    std::string out = message;
    // "... file '<temporary>': ..." reads "... file: ...", since the message is already led by the name.
    for (const std::string& from : {" '" + m_temporary + "'", "'" + m_temporary + "'", m_temporary}) {
        for (std::size_t at = out.find(from); at != std::string::npos; at = out.find(from, at)) {
            const std::string to = from == m_temporary ? m_shown : std::string();
            out.replace(at, from.size(), to);
            at += to.size();
        }
    }
    return out;
}

void OutputFile::Write(const std::function<void(const std::string& temporary)>& write) {
    try {
        write(m_temporary);
    } catch (const CliError& e) {
        throw CliError(e.Code(), Scrub(e.what()));
    } catch (const std::exception& e) {
        throw CliError(kExitIoError, m_shown + ": " + Scrub(e.what()));
    }
    Commit();
}

}  // namespace Norvane
