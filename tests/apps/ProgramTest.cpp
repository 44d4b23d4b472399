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

}  // namespace
}  // namespace Norvane::programtest
