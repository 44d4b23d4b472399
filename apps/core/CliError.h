#pragma once

#include <stdexcept>
#include <string>

namespace Norvane {

// Exit codes of the programs (the BSD sysexits values).
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 64,        // bad option or argument
    kExitBadData = 65,      // the input is not what it should be (not a DXF, corrupt database, ...)
    kExitNoInput = 66,      // the input file does not exist or cannot be read
    kExitCantCreate = 73,   // the output cannot be created (exists without --force, no such folder, ...)
    kExitIoError = 74,      // reading or writing failed part way
};

// A failure a program reports as one line on stderr and an exit code.
class CliError : public std::runtime_error {
public:
    CliError(ExitCode code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    ExitCode Code() const { return m_code; }

private:
    ExitCode m_code;
};

}  // namespace Norvane
