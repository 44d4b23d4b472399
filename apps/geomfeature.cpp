// geomfeature: imports sheet-metal parts from DXF, cleans them up and recognises their standard holes,
// saves them as part databases, and draws and exports saved parts.
#include <malloc.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/EditCommand.h"
#include "apps/core/InterruptHandler.h"
#include "apps/core/OffsetCommand.h"
#include "geomFeature/Version.h"

using namespace Norvane;

namespace {

constexpr const char* kDescription =
    "geomfeature turns drawings of flat sheet-metal parts into clean parts: loose lines and arcs are\n"
    "merged and chained into contours, closed contours that are standard holes (circles, ellipses,\n"
    "obrounds, D shapes, radius slots, rectangles, rounded rectangles, triangles) become those shapes,\n"
    "and the nesting of holes in outer contours is worked out. A part is saved as an SQLite database.\n"
    "\n"
    "Typical use:\n"
    "  geomfeature import bracket.dxf -o bracket.db     # read, clean, recognise, save, summarise\n"
    "  geomfeature info bracket.db --tree               # what a saved part holds\n"
    "  geomfeature render bracket.db -o bracket.png     # draw it (PNG, SVG or PDF)\n"
    "  geomfeature export bracket.db -o clean.dxf       # write the cleaned part as DXF";

// Option values are checked here, in plain words, before anything else runs: "--join-tol must be a
// positive number, got -1". The check throws CliError (64), which leaves the parser as it is.
enum class Range { Positive, NonNegative };

CLI::Validator Number(const std::string& name, Range range) {
    return CLI::Validator(
        [name, range](std::string& text) {
            const char* wanted = range == Range::Positive ? "a positive number" : "a number of 0 or more";
            char* end = nullptr;
            errno = 0;
            const double value = std::strtod(text.c_str(), &end);
            const bool number = !text.empty() && end && *end == '\0' && errno == 0 && std::isfinite(value);
            if (!number || (range == Range::Positive ? !(value > 0.0) : !(value >= 0.0))) {
                throw CliError(kExitUsage,
                               name + " must be " + wanted + ", got " + (text.empty() ? "nothing" : text));
            }
            return std::string();
        },
        "", "");
}

CLI::Validator Count(const std::string& name, long long lo, long long hi) {
    return CLI::Validator(
        [name, lo, hi](std::string& text) {
            char* end = nullptr;
            errno = 0;
            const long long value = std::strtoll(text.c_str(), &end, 10);
            if (text.empty() || !end || *end != '\0' || errno != 0 || value < lo || value > hi) {
                throw CliError(kExitUsage, name + " must be a whole number from " + std::to_string(lo) +
                                               " to " + std::to_string(hi) + ", got " +
                                               (text.empty() ? "nothing" : text));
            }
            return std::string();
        },
        "", "");
}

// Whether the command line asks for JSON output (also when it fails to parse).
bool WantsJson(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0)
            return true;
    }
    return false;
}

// One line on stderr; with --json also {"error": {"code": ..., "message": ...}} on stdout.
int Fail(int code, const std::string& message, bool json) {
    if (json)
        std::cout << nlohmann::json{{"error", {{"code", code}, {"message", message}}}}.dump(2) << "\n";
    std::cerr << "geomfeature: " << message << "\n";
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    InterruptHandler::Install("geomfeature");
    const bool json = WantsJson(argc, argv);

#ifdef M_MXFAST
    // An import makes and frees millions of small objects. glibc keeps freed small blocks in "fast bins" and
    // merges them all at once whenever a large block is freed, which stalls a large import (and its progress
    // display) for a second at a time; without fast bins the merging is spread evenly and the whole import
    // takes less time.
    mallopt(M_MXFAST, 0);
#endif
    CLI::App app(kDescription, "geomfeature");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("geomfeature ") + kGeomFeatureVersion);
    app.footer(kExitCodeTable);

    ImportCommand import;
    CLI::App* importCmd = app.add_subcommand(
        "import", "Read a DXF drawing, clean it up, recognise standard shapes, save the part and summarise it");
    importCmd->add_option("input", import.input, "DXF file (ASCII; R12 and later)")->required();
    importCmd->add_option("-o,--output", import.output, "Part database to write")->required();
    importCmd
        ->add_option("--join-tol", import.clean.joinTol,
                     "Pieces whose ends are closer than this (mm) are joined into one contour")
        ->capture_default_str()
        ->check(Number("--join-tol", Range::Positive));
    importCmd
        ->add_option("--merge-tol", import.clean.mergeTol,
                     "Touching collinear lines / co-circular arcs within this (mm) become one piece")
        ->capture_default_str()
        ->check(Number("--merge-tol", Range::Positive));
    importCmd
        ->add_option("--tiny", import.clean.tinySize,
                     "Pieces that fit in a square of this side (mm) are dropped; 0 keeps everything")
        ->capture_default_str()
        ->check(Number("--tiny", Range::NonNegative));
    importCmd
        ->add_option("--chord-tol", import.chordTol,
                     "Largest gap (mm) between a spline or elliptical arc and the pieces standing for it")
        ->capture_default_str()
        ->check(Number("--chord-tol", Range::Positive));
    importCmd->add_option("--unit", import.unit,
                          "Drawing unit to use instead of the file's $INSUNITS (mm, cm, m, in, ft, ...); "
                          "default: the file's, or mm when it names none");
    importCmd
        ->add_option("--max-pieces", import.maxPieces,
                     "A drawing that would give more pieces than this (after expanding blocks and "
                     "approximating curves) is refused, naming the entity that passes the limit")
        ->capture_default_str()
        ->check(Count("--max-pieces", 1, 1000000000));
    importCmd->add_flag("--salvage", import.salvage,
                        "Import what can be read from a truncated or damaged file (without it such a file is "
                        "refused); the summary says what was left out");
    importCmd->add_flag("--origin", import.clean.moveToOrigin, "Move the part so that its box starts at (0, 0)");
    importCmd->add_flag("--no-recognise", [&import](std::int64_t) { import.clean.recognise = false; },
                        "Keep closed contours as lines and arcs");
    importCmd->add_flag("--no-arrays", [&import](std::int64_t) { import.clean.arrays = false; },
                        "Keep repeated standard holes as single holes instead of rows, grids and rings");
    importCmd->add_flag("--optimize{0.01}", import.optimize,
                        "Before recognising shapes, replace runs of short lines in contours by arcs and longer "
                        "lines lying within TOL mm of them (--optimize=TOL; default 0.01)")
        ->check(CLI::PositiveNumber);
    importCmd->add_flag("-f,--force", import.force, "Replace the output file if it exists");
    importCmd->add_flag("--json", import.json, "Print the summary as JSON (a failure as {\"error\": ...})");
    importCmd->add_flag("--tree", import.tree, "Also print the nesting tree");
    importCmd->add_flag("-q,--quiet", import.quiet, "No progress line");
    importCmd->footer(kExitCodeTable);

    InfoCommand info;
    CLI::App* infoCmd = app.add_subcommand("info", "Summarise a saved part: patterns, loops, open ends, nesting");
    infoCmd->add_option("input", info.input, "Part database")->required();
    infoCmd->add_flag("--json", info.json, "Print the summary as JSON (a failure as {\"error\": ...})");
    infoCmd->add_flag("--tree", info.tree, "Also print the nesting tree");
    infoCmd->footer(kExitCodeTable);

    RenderCommand render;
    CLI::App* renderCmd = app.add_subcommand(
        "render", "Draw a saved part to a PNG, SVG or PDF file; open contours are marked with a cross at each end");
    renderCmd->add_option("input", render.input, "Part database")->required();
    renderCmd->add_option("-o,--output", render.output, "Picture to write: .png, .svg or .pdf")->required();
    renderCmd->add_option("--width", render.width, "Picture width in pixels")
        ->capture_default_str()
        ->check(Count("--width", 1, kMaxPicturePixels));
    renderCmd->add_option("--height", render.height, "Picture height in pixels")
        ->capture_default_str()
        ->check(Count("--height", 1, kMaxPicturePixels));
    renderCmd->add_flag("--snap", render.snapPoints, "Also draw every pattern's snap points");
    renderCmd->add_flag("--dark", render.dark, "Light drawing on a dark background");
    renderCmd->add_flag("-f,--force", render.force, "Replace the output file if it exists");
    renderCmd
        ->add_option("--kerf", render.kerf,
                     "Also draw the cutter's paths for this kerf (mm), as `offset` makes them: compensated "
                     "contours in the selection colour, contours left as drawn in the highlight colour")
        ->check(Number("--kerf", Range::Positive));
    renderCmd->footer(kExitCodeTable);

    ExportCommand exportCmdData;
    CLI::App* exportCmd = app.add_subcommand(
        "export", "Write a saved part as DXF: lines, arcs and circles on layers OUTER, HOLE, ISLAND and OPEN");
    exportCmd->add_option("input", exportCmdData.input, "Part database")->required();
    exportCmd->add_option("-o,--output", exportCmdData.output, "DXF file to write")->required();
    exportCmd->add_flag("-f,--force", exportCmdData.force, "Replace the output file if it exists");
    exportCmd->footer(kExitCodeTable);

    OffsetCommand offset;
    CLI::App* offsetCmd = app.add_subcommand(
        "offset", "Compensate a saved part for the cutter's kerf: outer contours and islands grow and holes "
                  "shrink by half the kerf; what cannot be compensated is kept as drawn and named in a warning");
    offsetCmd->add_option("input", offset.input, "Part database")->required();
    offsetCmd->add_option("--kerf", offset.kerf, "Width of the cut (mm); each closed contour moves half of it")
        ->required()
        ->check(Number("--kerf", Range::Positive));
    offsetCmd->add_option("-o,--output", offset.output,
                          "Part database to write the compensated part to; without it only the report is printed");
    offsetCmd->add_flag("-f,--force", offset.force, "Replace the output file if it exists");
    offsetCmd->add_flag("--json", offset.json,
                        "Print the report as JSON (warnings still go to stderr too; a failure as {\"error\": ...})");
    offsetCmd->footer(kExitCodeTable);

    EditCommand edit;
    CLI::App* editCmd = edit.Register(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e);  // --help and --version
        return Fail(kExitUsage, std::string(e.what()) + " (see geomfeature --help)", json);
    } catch (const CliError& e) {
        return Fail(e.Code(), e.what(), json);
    }

    try {
        if (*importCmd) import.Run();
        if (*infoCmd) info.Run();
        if (*renderCmd) render.Run();
        if (*exportCmd) exportCmdData.Run();
        if (*offsetCmd) offset.Run();
        if (*editCmd) edit.Run();
    } catch (const CliError& e) {
        return Fail(e.Code(), e.what(), json);
    } catch (const std::exception& e) {
        return Fail(kExitIoError, e.what(), json);
    }
    return 0;
}
