// geomfeature: imports sheet-metal parts from DXF, cleans them up and recognises their standard holes,
// saves them as part databases, and draws and exports saved parts.
#include <malloc.h>

#include <cstdio>
#include <exception>
#include <string>

#include <CLI/CLI.hpp>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/EditCommand.h"
#include "apps/core/OffsetCommand.h"

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
    "  geomfeature export bracket.db -o clean.dxf       # write the cleaned part as DXF\n"
    "\n"
    "Exit codes: 0 success, 64 bad option, 65 bad input data (not a DXF, binary DXF, empty drawing,\n"
    "corrupt database), 66 missing input, 73 output cannot be created (exists without --force), 74 I/O\n"
    "error.";

}  // namespace

int main(int argc, char** argv) {
#ifdef M_MXFAST
    // An import makes and frees millions of small objects. glibc keeps freed small blocks in "fast bins" and
    // merges them all at once whenever a large block is freed, which stalls a large import (and its progress
    // display) for a second at a time; without fast bins the merging is spread evenly and the whole import
    // takes less time.
    mallopt(M_MXFAST, 0);
#endif
    CLI::App app(kDescription, "geomfeature");
    app.require_subcommand(1);
    app.set_version_flag("--version", "geomfeature 0.1.0");

    ImportCommand import;
    CLI::App* importCmd = app.add_subcommand(
        "import", "Read a DXF drawing, clean it up, recognise standard shapes, save the part and summarise it");
    importCmd->add_option("input", import.input, "DXF file (ASCII; R12 and later)")->required();
    importCmd->add_option("-o,--output", import.output, "Part database to write")->required();
    importCmd->add_option("--join-tol", import.clean.joinTol,
                          "Closing tolerance (mm): pieces whose ends are closer are joined, contours closed, "
                          "shapes recognised within it; default 1e-4 of the drawing unit (at least 1e-4 mm)")
        ->check(CLI::PositiveNumber);
    importCmd->add_option("--merge-tol", import.clean.mergeTol,
                          "Touching collinear lines / co-circular arcs within this (mm) become one piece")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    importCmd->add_option("--tiny", import.clean.tinySize,
                          "Pieces that fit in a square of this side (mm) are dropped; 0 keeps everything")
        ->capture_default_str()
        ->check(CLI::NonNegativeNumber);
    importCmd->add_option("--chord-tol", import.chordTol,
                          "Largest gap (mm) between a spline or elliptical arc and the pieces standing for it")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    importCmd->add_option("--unit", import.unit,
                          "Drawing unit to use instead of the file's $INSUNITS (mm, cm, m, in, ft, ...); "
                          "default: the file's, or mm when it names none");
    importCmd->add_flag("--origin", import.clean.moveToOrigin, "Move the part so that its box starts at (0, 0)");
    importCmd->add_flag("--no-recognise", [&import](std::int64_t) { import.clean.recognise = false; },
                        "Keep closed contours as lines and arcs");
    importCmd->add_flag("--exact", import.exact,
                        "Only the exact recognition rules, a fixed closing tolerance of 1e-4 mm unless "
                        "--join-tol is given, and tiny pieces dropped anywhere (how imports worked before)");
    importCmd->add_flag("-f,--force", import.force, "Replace the output file if it exists");
    importCmd->add_flag("--json", import.json, "Print the summary as JSON");
    importCmd->add_flag("--tree", import.tree, "Also print the nesting tree");
    importCmd->add_flag("-q,--quiet", import.quiet, "No progress display");

    InfoCommand info;
    CLI::App* infoCmd = app.add_subcommand("info", "Summarise a saved part: patterns, loops, open ends, nesting");
    infoCmd->add_option("input", info.input, "Part database")->required();
    infoCmd->add_flag("--json", info.json, "Print the summary as JSON");
    infoCmd->add_flag("--tree", info.tree, "Also print the nesting tree");

    RenderCommand render;
    CLI::App* renderCmd = app.add_subcommand(
        "render", "Draw a saved part to a PNG, SVG or PDF file; open contours are marked with a cross at each end");
    renderCmd->add_option("input", render.input, "Part database")->required();
    renderCmd->add_option("-o,--output", render.output, "Picture to write: .png, .svg or .pdf")->required();
    renderCmd->add_option("--width", render.width, "Picture width in pixels")->capture_default_str();
    renderCmd->add_option("--height", render.height, "Picture height in pixels")->capture_default_str();
    renderCmd->add_flag("--snap", render.snapPoints, "Also draw every pattern's snap points");
    renderCmd->add_flag("--dark", render.dark, "Light drawing on a dark background");
    renderCmd->add_flag("-f,--force", render.force, "Replace the output file if it exists");
    renderCmd->add_option("--kerf", render.kerf,
                          "Also draw the cutter's paths for this kerf (mm), as `offset` makes them: compensated "
                          "contours in the selection colour, contours left as drawn in the highlight colour")
        ->check(CLI::PositiveNumber);

    ExportCommand exportCmdData;
    CLI::App* exportCmd = app.add_subcommand(
        "export", "Write a saved part as DXF: lines, arcs and circles on layers OUTER, HOLE, ISLAND and OPEN");
    exportCmd->add_option("input", exportCmdData.input, "Part database")->required();
    exportCmd->add_option("-o,--output", exportCmdData.output, "DXF file to write")->required();
    exportCmd->add_flag("-f,--force", exportCmdData.force, "Replace the output file if it exists");

    OffsetCommand offset;
    CLI::App* offsetCmd = app.add_subcommand(
        "offset", "Compensate a saved part for the cutter's kerf: outer contours and islands grow and holes "
                  "shrink by half the kerf; what cannot be compensated is kept as drawn and named in a warning");
    offsetCmd->add_option("input", offset.input, "Part database")->required();
    offsetCmd->add_option("--kerf", offset.kerf, "Width of the cut (mm); each closed contour moves half of it")
        ->required()
        ->check(CLI::PositiveNumber);
    offsetCmd->add_option("-o,--output", offset.output,
                          "Part database to write the compensated part to; without it only the report is printed");
    offsetCmd->add_flag("-f,--force", offset.force, "Replace the output file if it exists");
    offsetCmd->add_flag("--json", offset.json, "Print the report as JSON (warnings still go to stderr too)");

    EditCommand edit;
    CLI::App* editCmd = edit.Register(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version are "errors" with exit code 0.
        const int code = app.exit(e);
        return code == 0 ? 0 : kExitUsage;
    }

    try {
        if (*importCmd) {
            import.joinTolGiven = importCmd->get_option("--join-tol")->count() > 0;
            import.Run();
        }
        if (*infoCmd) info.Run();
        if (*renderCmd) render.Run();
        if (*exportCmd) exportCmdData.Run();
        if (*offsetCmd) offset.Run();
        if (*editCmd) edit.Run();
    } catch (const CliError& e) {
        std::fprintf(stderr, "geomfeature: %s\n", e.what());
        return e.Code();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "geomfeature: %s\n", e.what());
        return kExitIoError;
    }
    return 0;
}
