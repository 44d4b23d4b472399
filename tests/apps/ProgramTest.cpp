// The geomfeature program run as a person runs it on the bundled samples: the --json summary, the round
// trip through info, render and export, and replacing an output only when asked.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/apps/ProgramRunner.h"

namespace Norvane::programtest {
namespace {

TEST_F(ProgramTest, BracketImportsWithEveryStandardHoleRecognised) {
    const ProgramRun run = Program("import " + Sample("bracket.dxf") + " -o " + In("b.db") + " --json -q");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    // The outer contour holds one of each of the nine standard shapes, and nothing is left open.
    EXPECT_EQ(j["loops"]["standard"], 9);
    EXPECT_EQ(j["loops"]["closed_polygon"], 1);
    EXPECT_EQ(j["loops"]["open"], 0);
    EXPECT_EQ(j["nesting_depth"], 2);
    for (const char* type : {"circle", "ellipse", "obround", "single-d", "double-d", "radius-slot", "rectangle",
                             "rounded-rectangle", "triangle"}) {
        EXPECT_EQ(j["patterns"]["by_type"].value(type, 0), 1) << type;
    }

    // The saved part reads back the same, and renders and exports.
    const ProgramRun info = Program("info " + In("b.db") + " --json");
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(nlohmann::json::parse(info.out)["loops"], j["loops"]);
    for (const char* picture : {"b.png", "b.svg", "b.pdf"}) {
        const ProgramRun render = Program("render " + In("b.db") + " -o " + In(picture));
        EXPECT_EQ(render.code, 0) << render.err;
        EXPECT_GT(fs::file_size(In(picture)), 1000u) << picture;
    }
    const ProgramRun exported = Program("export " + In("b.db") + " -o " + In("clean.dxf"));
    EXPECT_EQ(exported.code, 0) << exported.err;
    const ProgramRun again = Program("import " + In("clean.dxf") + " -o " + In("again.db") + " --json -q");
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(nlohmann::json::parse(again.out)["loops"]["total"], j["loops"]["total"]);
}

TEST_F(ProgramTest, PlateAndCutoutImport) {
    const ProgramRun plate = Program("import " + Sample("plate.dxf") + " -o " + In("p.db") + " --json -q");
    ASSERT_EQ(plate.code, 0) << plate.err;
    EXPECT_EQ(nlohmann::json::parse(plate.out)["loops"]["open"], 0);
    const ProgramRun cutout = Program("import " + Sample("cutout.dxf") + " -o " + In("c.db") + " --json -q");
    ASSERT_EQ(cutout.code, 0) << cutout.err;
    EXPECT_EQ(nlohmann::json::parse(cutout.out)["nesting_depth"], 2);
}

TEST_F(ProgramTest, ExistingOutputIsReplacedOnlyWithForce) {
    { std::ofstream(In("taken.db")) << "precious"; }
    const ProgramRun refused = Program("import " + Sample("bracket.dxf") + " -o " + In("taken.db") + " -q");
    EXPECT_EQ(refused.code, 73) << refused.err;
    EXPECT_EQ(fs::file_size(In("taken.db")), 8u);  // untouched
    const ProgramRun forced = Program("import " + Sample("bracket.dxf") + " -o " + In("taken.db") + " -q --force");
    EXPECT_EQ(forced.code, 0) << forced.err;
}

// A drawing of loose LINEs: an outline square 0..100, a small square 10..20 whose last line stops 1e-7
// short of its start, and a CIRCLE.
std::string SquaresDxf() {
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    const auto line = [&dxf](double x1, double y1, double x2, double y2) {
        dxf += "0\nLINE\n8\n0\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n30\n0\n11\n" +
               std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n31\n0\n";
    };
    line(0, 0, 100, 0), line(100, 0, 100, 100), line(100, 100, 0, 100), line(0, 100, 0, 0);
    line(10, 10, 20, 10), line(20, 10, 20, 20), line(20, 20, 10, 20);
    dxf += "0\nLINE\n8\n0\n10\n10\n20\n20\n30\n0\n11\n10\n21\n10.0000001\n31\n0\n";
    dxf += "0\nCIRCLE\n8\n0\n10\n50\n20\n50\n30\n0\n40\n5\n";
    return dxf + "0\nENDSEC\n0\nEOF\n";
}

// The summary tells outer contours from holes by kind, its counts agree with the loops, it states the
// closing tolerance, and an open contour whose ends print alike says how far apart they are. --exact
// keeps the module's rules and its fixed tolerance.
TEST_F(ProgramTest, SummaryTellsHolesFromOutlinesAndStatesTheTolerance) {
    std::ofstream(In("squares.dxf")) << SquaresDxf();
    const ProgramRun open = Program("import " + In("squares.dxf") + " -o " + In("a.db") + " -q --join-tol 1e-8");
    ASSERT_EQ(open.code, 0) << open.out;
    EXPECT_NE(open.out.find("closing tolerance: 1e-08 mm (given by --join-tol), tolerant recognition"),
              std::string::npos) << open.out;
    EXPECT_NE(open.out.find("closed contours: 1 outer (1 rectangle), 1 hole (1 circle), 0 islands"),
              std::string::npos) << open.out;
    EXPECT_NE(open.out.find("from (10, 10) to (10, 10), gap 1e-07 mm"), std::string::npos) << open.out;

    const ProgramRun closed = Program("import " + In("squares.dxf") + " -o " + In("b.db") + " -q --json");
    ASSERT_EQ(closed.code, 0) << closed.out;
    const auto j = nlohmann::json::parse(closed.out);
    EXPECT_EQ(j["cleanup"]["rules"], "tolerant");
    EXPECT_EQ(j["cleanup"]["join_tol"], 1e-4);
    EXPECT_EQ(j["contours"]["outer"]["by_kind"]["rectangle"], 1);
    EXPECT_EQ(j["contours"]["holes"]["by_kind"]["rectangle"], 1);
    EXPECT_EQ(j["contours"]["holes"]["by_kind"]["circle"], 1);
    const int contours = j["contours"]["outer"]["total"].get<int>() + j["contours"]["holes"]["total"].get<int>() +
                         j["contours"]["islands"]["total"].get<int>();
    EXPECT_EQ(contours, j["loops"]["total"].get<int>() - j["loops"]["open"].get<int>());
    // The drawing names no unit and is 100 units across: no word of inches.
    EXPECT_EQ(closed.err.find("inches"), std::string::npos) << closed.err;

    const ProgramRun exact = Program("import " + In("squares.dxf") + " -o " + In("c.db") + " -q --json --exact");
    ASSERT_EQ(exact.code, 0) << exact.out;
    EXPECT_EQ(nlohmann::json::parse(exact.out)["cleanup"]["rules"], "exact");
}

// Without $INSUNITS, a part a few units across is likely drawn in inches: the program says so and how to
// read it in inches, and reads it in millimetres as the file says nothing else.
TEST_F(ProgramTest, SmallPartWithoutUnitGetsTheInchesWarning) {
    std::ofstream(In("small.dxf")) << "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\n0\n10\n1\n20\n1\n30\n0\n40\n0.5\n"
                                      "0\nENDSEC\n0\nEOF\n";
    const ProgramRun run = Program("import " + In("small.dxf") + " -o " + In("s.db") + " -q");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.err.find("may be in inches"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--unit in"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("unit: mm (assumed)"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace Norvane::programtest
