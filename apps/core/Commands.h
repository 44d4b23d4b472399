#pragma once

#include <optional>
#include <string>

#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"

namespace Norvane {

class OutputFile;

// The subcommands of the geomfeature program. Each throws CliError for a failure the user must see and
// prints its result to stdout. Every subcommand checks in the same order, so that one failure always gives
// the same exit code (kExitCodeTable): its options (64), its input (66), its output (64 for the input
// itself, 73), and only then does the work (65, 74).

// The import stages the program runs besides the module's defaults: duplicate loops removed, arrays
// recognised (--no-arrays turns that off).
ImportOptions ProgramImportOptions();

struct ImportCommand {
    std::string input;   // DXF file
    std::string output;  // part database
    ImportOptions clean = ProgramImportOptions();
    std::string optimize;  // --optimize[=TOL]: the tolerance as given (mm), empty when not asked for
    double chordTol = 0.01;
    std::optional<std::string> unit;  // overrides the drawing's unit
    std::size_t maxPieces = 2000000;  // more pieces than this fail the read
    bool salvage = false;             // import what can be read from a truncated or damaged file
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

// The largest picture side render accepts, in pixels.
constexpr int kMaxPicturePixels = 20000;

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

// Throws CliError (66) unless path is a file that can be opened.
void RequireInput(const std::string& path);

// The reader's options for an import with chordTol and --unit (an unknown unit throws CliError 64).
DxfReader::Options DrawingOptions(double chordTol, const std::optional<std::string>& unit);
// Reads a DXF drawing for an import. Throws CliError (66 missing, 65 not a readable drawing, 74 reading
// failed).
DxfReader::Result ReadDrawing(const std::string& input, const DxfReader::Options& options);

// Checks render's size and picture format; throws CliError 64.
void CheckPicture(const RenderCommand& render);
// Draws part into out (made for render.output) as the render subcommand does (render.input is read only
// for the kerf paths). Throws CliError like the subcommand.
void DrawPart(const Part& part, const RenderCommand& render, OutputFile& out);

// Loads a saved part and recomputes its nesting. Throws CliError (66 missing, 65 not a sound part database,
// 74 reading failed).
Part LoadPart(const std::string& path);

}  // namespace Norvane
