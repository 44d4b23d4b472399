#pragma once

#include <optional>
#include <string>

#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"

namespace Norvane {

// The subcommands of the geomfeature program. Each throws CliError for a failure the user must see and
// prints its result to stdout.

struct ImportCommand {
    std::string input;   // DXF file
    std::string output;  // part database
    ImportOptions clean;
    double chordTol = 0.01;
    std::optional<std::string> unit;  // overrides the drawing's unit
    bool force = false;
    bool json = false;
    bool tree = false;
    bool quiet = false;  // no progress display
    void Run() const;
};

struct InfoCommand {
    std::string input;  // part database
    bool json = false;
    bool tree = false;
    void Run() const;
};

struct RenderCommand {
    std::string input;   // part database
    std::string output;  // .png, .svg or .pdf
    int width = 1600;
    int height = 1200;
    bool snapPoints = false;
    bool dark = false;  // light drawing on a dark background
    bool force = false;
    std::optional<double> kerf;  // also draw the cutter's paths for this kerf
    void Run() const;
};

struct ExportCommand {
    std::string input;   // part database
    std::string output;  // DXF file
    bool force = false;
    void Run() const;
};

// Reads a DXF drawing for an import (chordTol and unit as ImportCommand's). Throws CliError (66 missing,
// 65 not a readable drawing, 64 unknown unit).
DxfReader::Result ReadDrawing(const std::string& input, double chordTol,
                              const std::optional<std::string>& unit);

// Checks render's size and picture format; throws CliError 64.
void CheckPicture(const RenderCommand& render);
// Draws part into render.output as the render subcommand does (render.input is read only for the kerf
// paths). Throws CliError like the subcommand.
void DrawPart(const Part& part, const RenderCommand& render);

// Loads a saved part and recomputes its nesting. Throws CliError (66 missing, 65 not a part database).
Part LoadPart(const std::string& path);

}  // namespace Norvane
