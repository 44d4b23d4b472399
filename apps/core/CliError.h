#pragma once

#include <stdexcept>
#include <string>

namespace Norvane {

// Exit codes of the programs (the BSD sysexits values), the same for every subcommand.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 64,       // bad option or argument; an output that is the same file as an input
    kExitBadData = 65,     // the input is not what it should be (not a DXF, truncated, corrupt database, ...)
    kExitNoInput = 66,     // the input file does not exist or cannot be opened
    kExitCantCreate = 73,  // the output cannot be created (exists without --force, no such folder, ...)
    kExitIoError = 74,     // reading or writing failed part way (a read error, a full disk)
};

// The table every --help and the README show, word for word.
inline constexpr const char* kExitCodeTable =
    "Exit codes (the same for every subcommand):\n"
    "  0    success\n"
    "  64   usage: a bad option or argument, or an output that is the same file as an input\n"
    "  65   bad input data: not a DXF, a binary, truncated or damaged DXF, a drawing with no\n"
    "       geometry to import or more pieces than --max-pieces; a corrupt, damaged or unsound\n"
    "       part database\n"
    "  66   missing input: the input does not exist or cannot be opened\n"
    "  73   the output cannot be created: it exists (without --force), is not a regular file, or\n"
    "       its folder is missing or not writable\n"
    "  74   I/O error while reading or writing (a read failure, a full disk)\n"
    "  130  interrupted (Ctrl-C), 143 terminated (SIGTERM): an unfinished output is removed and\n"
    "       the file it would replace is left as it was\n";

// A failure a program reports as one line on stderr and an exit code.
class CliError : public std::runtime_error {
public:
    CliError(ExitCode code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    ExitCode Code() const { return m_code; }

private:
    ExitCode m_code;
};

}  // namespace Norvane
