#include "apps/core/EditCommand.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include <CLI/CLI.hpp>
#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/OutputFile.h"
#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/EditScript.h"
#include "geomFeature/editor/EditScriptRunner.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/viewkit/NullViewPort.h"
#include "geomFeature/persist/PartFile.h"

namespace Norvane {

namespace {

namespace fs = std::filesystem;

// The screen the steps are played on: the part's box with a margin of 5% on a 1000 x 1000 pixel view, so
// that pick and snap distances (a few pixels) are a fixed share of the part. Nothing is drawn.
constexpr int kViewPixels = 1000;
constexpr double kViewMarginShare = 0.05;


std::string ReadScript(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) throw CliError(kExitNoInput, path + ": no such file");
    if (fs::is_directory(path, ec)) throw CliError(kExitNoInput, path + ": is a folder, not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CliError(kExitNoInput, path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw CliError(kExitIoError, path + ": reading failed");
    return text.str();
}

}  // namespace

CLI::App* EditCommand::Register(CLI::App& app) {
    CLI::App* cmd = app.add_subcommand(
        "edit", "Run a script of editing steps (draw, select, move, undo, ...) on a saved part and save it");
    cmd->add_option("input", input, "Part database")->required();
    cmd->add_option("--script", script, "File of editing steps (see below)")->required();
    cmd->add_option("-o,--output", output, "Part database to write (default: replace the input)");
    cmd->add_flag("-f,--force", force, "Replace the output file if it exists");
    cmd->footer(Help() + "\n" + kExitCodeTable);
    return cmd;
}

std::string EditCommand::Help() {
    return "\nThe steps play through the geometry editor as a user's mouse and keyboard would, on a view of\n"
           "the part's box (plus 5%) 1000 pixels wide; the editor starts in selection. The part is saved\n"
           "only when every step ran; the first bad or failing step is reported with its line number.\n\n" +
           EditScript::SyntaxHelp();
}

void EditCommand::Run() const {
    Part part = LoadPart(input);
    EditScript steps;
    if (steps.Parse(ReadScript(script)) == 0) {
        throw CliError(kExitBadData, script + ":" + std::to_string(steps.GetErrorLine()) + ": " +
                                         steps.GetError() + " (nothing was run)");
    }
    // Without -o the edit replaces the part it read, atomically; an explicit output is never the input.
    const bool inPlace = output.empty();
    const std::string target = inPlace ? input : output;
    OutputFile out(target, inPlace || force, inPlace ? std::vector<std::string>{} : std::vector<std::string>{input});

    Rect2D box = part.patterns->empty() ? Rect2D(0, 100, 0, 100) : part.patterns->GetRectBox();
    const double margin = kViewMarginShare * std::max({box.right - box.left, box.top - box.bottom, 1.0});
    box.Inflate(margin);
    const auto view = boost::make_shared<NullViewPort>();
    view->SetDeviceSize(kViewPixels, kViewPixels);
    view->ZoomToFit(box, 0.0);
    const auto editor = boost::make_shared<GeometryEditor>(view, boost::make_shared<DrawAssistor>(view));
    editor->SetPatternList(part.patterns);
    editor->SetPatLoopList(part.loops);
    CommandManager::GetInstance()->Clear();
    PatternForwarding::Clear();
    editor->SetEditAction(EDIT_SELECT);

    EditScriptRunner runner(editor);
    if (runner.Run(steps) == 0) {
        throw CliError(kExitBadData, script + ":" + std::to_string(runner.GetErrorLine()) + ": " +
                                         runner.GetError() + " (the part was not saved)");
    }
    const std::size_t commands = CommandManager::GetInstance()->GetUndoCount();
    out.Write([&](const std::string& temporary) {
        const PartFileResult saved = PartFile::Save(temporary, part.patterns, part.loops);
        if (!saved.IsOk()) throw CliError(kExitIoError, target + ": " + saved.message);
    });
    std::cout << "edited " << input << " -> " << target << ": " << steps.GetSteps().size() << " steps, "
              << commands << " changes; " << part.patterns->size() << " patterns, " << part.loops->size()
              << " loops\n";
}

}  // namespace Norvane
