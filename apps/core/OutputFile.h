#pragma once

#include <functional>
#include <string>

namespace Norvane {

// Writes an output file so that nobody ever sees it half written: the content goes to a temporary file
// beside the target, which then replaces the target in one rename. An existing target is replaced only
// when `force` is set. Throws CliError (73 when the output cannot be created, 74 when writing fails);
// the temporary file never outlives a failure.
class OutputFile {
public:
    // Checks that target may be written (absent, or force) and that its folder exists.
    static void CheckWritable(const std::string& target, bool force);
    // Calls write(temporaryPath), then renames the temporary file onto target. write reports its own
    // failure by throwing.
    static void Write(const std::string& target, bool force, const std::function<void(const std::string&)>& write);
};

}  // namespace Norvane
