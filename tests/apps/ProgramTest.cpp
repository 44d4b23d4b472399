// The geomfeature program run as a person runs it: exit codes, messages and the --json summary on the
// bundled samples and on bad input.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int code = -1;
    std::string out;  // stdout and stderr together
};

ProgramRun Program(const std::string& arguments) {
    ProgramRun run;
    const std::string command = std::string(GF_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Sample(const char* name) { return std::string(GF_SOURCE_DIR) + "/samples/" + name; }

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("gf_program_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string In(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(ProgramTest, BracketImportsWithEveryStandardHoleRecognised) {
    const ProgramRun run = Program("import " + Sample("bracket.dxf") + " -o " + In("b.db") + " --json -q");
    ASSERT_EQ(run.code, 0) << run.out;
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
    ASSERT_EQ(info.code, 0) << info.out;
    EXPECT_EQ(nlohmann::json::parse(info.out)["loops"], j["loops"]);
    for (const char* picture : {"b.png", "b.svg", "b.pdf"}) {
        const ProgramRun render = Program("render " + In("b.db") + " -o " + In(picture));
        EXPECT_EQ(render.code, 0) << render.out;
        EXPECT_GT(fs::file_size(In(picture)), 1000u) << picture;
    }
    const ProgramRun exported = Program("export " + In("b.db") + " -o " + In("clean.dxf"));
    EXPECT_EQ(exported.code, 0) << exported.out;
    const ProgramRun again = Program("import " + In("clean.dxf") + " -o " + In("again.db") + " --json -q");
    ASSERT_EQ(again.code, 0) << again.out;
    EXPECT_EQ(nlohmann::json::parse(again.out)["loops"]["total"], j["loops"]["total"]);
}

TEST_F(ProgramTest, PlateAndCutoutImport) {
    const ProgramRun plate = Program("import " + Sample("plate.dxf") + " -o " + In("p.db") + " --json -q");
    ASSERT_EQ(plate.code, 0) << plate.out;
    EXPECT_EQ(nlohmann::json::parse(plate.out)["loops"]["open"], 0);
    const ProgramRun cutout = Program("import " + Sample("cutout.dxf") + " -o " + In("c.db") + " --json -q");
    ASSERT_EQ(cutout.code, 0) << cutout.out;
    EXPECT_EQ(nlohmann::json::parse(cutout.out)["nesting_depth"], 2);
}

TEST_F(ProgramTest, ExistingOutputIsReplacedOnlyWithForce) {
    { std::ofstream(In("taken.db")) << "precious"; }
    const ProgramRun refused = Program("import " + Sample("bracket.dxf") + " -o " + In("taken.db") + " -q");
    EXPECT_EQ(refused.code, 73) << refused.out;
    EXPECT_EQ(fs::file_size(In("taken.db")), 8u);  // untouched
    const ProgramRun forced = Program("import " + Sample("bracket.dxf") + " -o " + In("taken.db") + " -q --force");
    EXPECT_EQ(forced.code, 0) << forced.out;
}

struct BadInput {
    const char* name;
    const char* content;  // nullptr: the file does not exist
    const char* command;  // "import" or "info"
    int code;
};

void PrintTo(const BadInput& bad, std::ostream* os) { *os << bad.name; }

class ProgramBadInputTest : public ProgramTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(ProgramBadInputTest, GivesOneClearLineAndTheExitCode) {
    const BadInput& bad = GetParam();
    const std::string input = In("input");
    if (bad.content) std::ofstream(input, std::ios::binary) << bad.content;
    const ProgramRun run = Program(std::string(bad.command) + " " + input +
                            (std::string(bad.command) == "import" ? " -o " + In("out.db") : ""));
    EXPECT_EQ(run.code, bad.code) << run.out;
    EXPECT_EQ(run.out.rfind("geomfeature: ", 0), 0u) << run.out;
    EXPECT_FALSE(fs::exists(In("out.db")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramBadInputTest,
    ::testing::Values(BadInput{"missing_dxf", nullptr, "import", 66},
                      BadInput{"not_a_dxf", "hello, world\n", "import", 65},
                      BadInput{"binary_dxf", "AutoCAD Binary DXF\r\n\x1a", "import", 65},
                      BadInput{"empty_drawing", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n", "import", 65},
                      BadInput{"missing_db", nullptr, "info", 66},
                      BadInput{"corrupt_db", "this is not a database, just text long enough to look like one",
                               "info", 65}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, BadOptionsAreUsageErrors) {
    EXPECT_EQ(Program("import").code, 64);
    EXPECT_EQ(Program("frobnicate").code, 64);
    EXPECT_EQ(Program("import " + Sample("bracket.dxf") + " -o " + In("x.db") + " --join-tol -1").code, 64);
    EXPECT_EQ(Program("render x.db -o " + In("x.gif")).code, 64);
    EXPECT_EQ(Program("--help").code, 0);
}

}  // namespace
