#include "apps/core/OutputFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "apps/core/CliError.h"

namespace Norvane {

namespace fs = std::filesystem;

void OutputFile::CheckWritable(const std::string& target, bool force) {
    std::error_code ec;
    const fs::path path(target);
    if (fs::is_directory(path, ec)) throw CliError(kExitCantCreate, target + ": is a folder, not a file");
    if (fs::exists(path, ec) && !force)
        throw CliError(kExitCantCreate, target + ": already exists (use --force to replace it)");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) throw CliError(kExitCantCreate, target + ": no such folder");
}

void OutputFile::Write(const std::string& target, bool force,
                       const std::function<void(const std::string&)>& write) {
    CheckWritable(target, force);
    const fs::path path(target);
    // Same folder, so that the rename is atomic; the pid keeps two programs writing at once apart.
    const fs::path temporary =
        path.parent_path() / ("." + path.filename().string() + ".tmp-" + std::to_string(::getpid()));
    std::error_code ec;
    try {
        write(temporary.string());
    } catch (...) {
        fs::remove(temporary, ec);
        throw;
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw CliError(kExitIoError, target + ": cannot replace the file (" + ec.message() + ")");
    }
}

}  // namespace Norvane
