#pragma once

#include <string>

namespace CLI {
class App;
}

namespace Norvane {

// The edit subcommand: runs a scenario of editing steps (EditScript) on a saved part through the geometry
// editor and saves the result. The part is saved only when every step ran; a script that does not parse
// runs nothing. Throws CliError: 66 missing part or script, 65 a bad step or a step that failed (with the
// script's file name and line), 73/74 when the output cannot be written.
struct EditCommand {
    std::string input;   // part database
    std::string script;  // the steps
    std::string output;  // part database to write; empty: the input is replaced
    bool force = false;  // replace an existing output

    // Adds the subcommand with its options and its --help (which teaches the step syntax) to the program.
    CLI::App* Register(CLI::App& app);
    void Run() const;

    // What --help shows after the options.
    static std::string Help();
};

}  // namespace Norvane
