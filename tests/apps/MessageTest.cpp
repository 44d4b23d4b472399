// What the program says: option errors in plain words, one error for "no geometry" whatever removed it,
// refused entities with handle and reason, open contours with their gap and a --join-tol that closes
// them, a warning for a part without a closed outer contour, and what a salvaging import left out.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/apps/ProgramRunner.h"
#include "tests/io/DxfFixture.h"

namespace Norvane::programtest {
namespace {

struct OptionRow {
    const char* options;  // after "SUB INPUT -o OUTPUT"
    const char* sub;
    const char* message;  // the whole line after "geomfeature: "
};

void PrintTo(const OptionRow& row, std::ostream* os) {
    *os << row.options;
}

class OptionMessageTest : public ProgramTest, public ::testing::WithParamInterface<OptionRow> {};

TEST_P(OptionMessageTest, SaysWhatIsWrongInPlainWords) {
    const OptionRow& row = GetParam();
    const std::string sub = row.sub;
    const std::string io =
        sub == "import" ? Sample("plate.dxf") + " -o " + In("x.db") : In("x.db") + " -o " + In("x.png");
    const ProgramRun run = Program(sub + " " + io + " " + row.options);
    EXPECT_EQ(run.code, 64);
    EXPECT_EQ(run.err, std::string("geomfeature: ") + row.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Options, OptionMessageTest,
    ::testing::Values(
        OptionRow{"--join-tol -1", "import", "--join-tol must be a positive number, got -1"},
        OptionRow{"--merge-tol 0", "import", "--merge-tol must be a positive number, got 0"},
        OptionRow{"--chord-tol abc", "import", "--chord-tol must be a positive number, got abc"},
        OptionRow{"--join-tol nan", "import", "--join-tol must be a positive number, got nan"},
        OptionRow{"--tiny -0.5", "import", "--tiny must be a number of 0 or more, got -0.5"},
        OptionRow{"--max-pieces 0", "import",
                  "--max-pieces must be a whole number from 1 to 1000000000, got 0"},
        OptionRow{"--unit furlong", "import",
                  "--unit must be a unit such as mm, cm, m, in or ft, got 'furlong'"},
        OptionRow{"--width 30000", "render", "--width must be a whole number from 1 to 20000, got 30000"}),
    [](const auto& info) { return "Row" + std::to_string(info.index); });

// However the last piece goes (nothing readable, every entity refused, everything tiny), it is one error.
TEST_F(ProgramTest, NoGeometryIsOneErrorWhateverRemovedIt) {
    std::ofstream(In("empty.dxf")) << dxftest::Drawing(dxftest::Dxf()(0, "TEXT")(8, "0")(1, "x").Str());
    std::ofstream(In("nan.dxf")) << dxftest::Drawing(
        dxftest::Dxf()(0, "LINE")(5, "1F")(8, "0")(10, "nan")(20, 0.0)(11, 1.0)(21, 1.0).Str());
    std::ofstream(In("micro.dxf")) << dxftest::Drawing(dxftest::Line(0, 0, 0.0005, 0) +
                                                       dxftest::Line(0, 0, 0, 0.0005));
    for (const char* file : {"empty.dxf", "nan.dxf", "micro.dxf"}) {
        const ProgramRun run = Program("import " + In(file) + " -o " + In("out.db"));
        EXPECT_EQ(run.code, 65) << run.err;
        EXPECT_EQ(run.err.rfind("geomfeature: " + In(file) + ": no geometry to import: ", 0), 0u) << run.err;
        EXPECT_FALSE(fs::exists(In("out.db")));
    }
    const ProgramRun nan = Program("import " + In("nan.dxf") + " -o " + In("out.db"));
    EXPECT_NE(nan.err.find("LINE (handle 1F, line 25) refused: value 'nan' (group 10, line 32)"),
              std::string::npos)
        << nan.err;
}

// Every refused entity is listed with its handle and reason: the first twenty on stderr, all in --json.
TEST_F(ProgramTest, RefusedEntitiesAreListed) {
    std::string entities = dxftest::Line(0, 0, 10, 0);
    for (int i = 0; i < 25; ++i) {
        entities +=
            dxftest::Dxf()(0, "CIRCLE")(5, "C" + std::to_string(i))(8, "0")(10, i)(20, 0.0)(40, -1.0).Str();
    }
    std::ofstream(In("bad.dxf")) << dxftest::Drawing(entities);
    const ProgramRun text = Program("import " + In("bad.dxf") + " -o " + In("a.db") + " -q");
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(Count(text.err, "geomfeature: warning: CIRCLE (handle C"), 20u) << text.err;
    EXPECT_NE(text.err.find("CIRCLE (handle C7, line "), std::string::npos);
    EXPECT_NE(text.err.find(") refused: radius -1 is not positive\n"), std::string::npos);
    EXPECT_NE(text.err.find("and 5 more entities refused (--json lists them all)"), std::string::npos)
        << text.err;
    const ProgramRun json = Program("import " + In("bad.dxf") + " -o " + In("b.db") + " -q --json");
    const auto refused = nlohmann::json::parse(json.out)["entities"]["refused"];
    ASSERT_EQ(refused.size(), 25u);
    EXPECT_EQ(refused[24]["handle"], "C24");
    EXPECT_EQ(refused[24]["reason"], "radius -1 is not positive");
}

// A square whose corners at (10, 0) and (0, 10) are 5e-5 apart falls into two open chains at a join
// tolerance of 1e-5; at 1e-4 they chain into one contour that counts as closed, and the summary says so.
// (A gap at or above the open-contour tolerance stays open at any join tolerance: the chaining never
// closes a contour over a gap, so no hint is given there.) A U shape is open by its own gap, which no join
// tolerance closes. Neither part has a closed outer contour.
TEST_F(ProgramTest, OpenContoursReportTheirGapAndWhatClosesThem) {
    using dxftest::Line;
    std::ofstream(In("square.dxf")) << dxftest::Drawing(Line(0, 0, 10, 0) + Line(10, 0.00005, 10, 10) +
                                                        Line(10, 10, 0, 10) + Line(0, 10.00005, 0, 0));
    std::ofstream(In("u.dxf")) << dxftest::Drawing(Line(0, 10, 0, 0) + Line(0, 0, 10, 0) +
                                                   Line(10, 0, 10, 10));
    const ProgramRun square =
        Program("import " + In("square.dxf") + " -o " + In("s.db") + " -q --join-tol 1e-5");
    EXPECT_EQ(square.code, 0) << square.err;
    EXPECT_EQ(Count(square.out, ", gap 14.1 mm; --join-tol 0.0001 would close it"), 2u) << square.out;
    EXPECT_NE(square.err.find("warning: the part has no closed contour: all 2 are open"), std::string::npos)
        << square.err;
    const ProgramRun closed =
        Program("import " + In("square.dxf") + " -o " + In("c.db") + " -q --json --join-tol 1e-4");
    EXPECT_EQ(nlohmann::json::parse(closed.out)["loops"]["open"], 0);

    const ProgramRun u = Program("import " + In("u.dxf") + " -o " + In("u.db") + " -q --json");
    const auto j = nlohmann::json::parse(u.out);
    const auto open = j["loops"]["open_loops"];
    ASSERT_EQ(open.size(), 1u);
    EXPECT_DOUBLE_EQ(open[0]["gap"].get<double>(), 10.0);
    EXPECT_TRUE(open[0]["closing_join_tol"].is_null());
    EXPECT_EQ(j["warnings"].size(), 1u);
}

// A truncated drawing imported with --salvage says in the summary and in --json what was left out.
TEST_F(ProgramTest, SalvageSaysWhatWasLeftOut) {
    const std::string whole = ReadFile(Sample("bracket.dxf"));
    std::ofstream(In("cut.dxf")) << whole.substr(0, whole.size() * 8 / 10);
    const ProgramRun text = Program("import " + In("cut.dxf") + " -o " + In("a.db") + " -q --salvage");
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("salvaged: the file ends inside ENTITIES at line "), std::string::npos)
        << text.out;
    const ProgramRun json = Program("import " + In("cut.dxf") + " -o " + In("b.db") + " -q --salvage --json");
    const std::string salvaged = nlohmann::json::parse(json.out)["salvaged"];
    EXPECT_NE(salvaged.find("no EOF"), std::string::npos) << salvaged;
    EXPECT_NE(salvaged.find("cut off by the end of the file, was left out"), std::string::npos) << salvaged;
}

}  // namespace
}  // namespace Norvane::programtest
