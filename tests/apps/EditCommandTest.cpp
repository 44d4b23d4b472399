// geomfeature edit: a script of editing steps run on a saved part; the part is saved only when every step
// ran, and a bad step is reported with its file and line.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/apps/ProgramRunner.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int code = -1;
    std::string out;    // stdout and stderr, for messages
    std::string json;   // stdout alone
};

Result Program(const std::string& arguments) {
    const Norvane::programtest::ProgramRun run = Norvane::programtest::Program(arguments);
    return {run.code, run.out + run.err, run.out};
}

class EditCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("gf_edit_" + std::to_string(::getpid()) + "_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const Result import = Program("import " + std::string(GF_SOURCE_DIR) + "/samples/bracket.dxf -o " +
                                      Path("part.db") + " -q");
        ASSERT_EQ(import.code, 0) << import.out;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    std::string Script(const char* name, const std::string& text) const {
        std::ofstream(dir / name) << text;
        return Path(name);
    }
    int Patterns(const char* db) const {
        const Result info = Program("info " + Path(db) + " --json");
        return info.code == 0 ? nlohmann::json::parse(info.json)["patterns"]["total"].get<int>() : -1;
    }
    fs::path dir;
};

// The bracket (15 patterns, 240 x 160) gets a circle and a line; undo and redo on the way.
TEST_F(EditCommandTest, RunsTheStepsAndSavesTheResult) {
    const std::string steps =
        Script("steps.txt",
               "tool circle\ntype 120,80\nkey enter\ntype 3\nkey enter\nexpect selected 1\n"
               "tool line\nclick 300 0\nclick 300 50\nundo\nredo\nexpect patterns 17\n");
    const Result run = Program("edit " + Path("part.db") + " --script " + steps + " -o " + Path("out.db"));
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("2 changes"), std::string::npos) << run.out;
    EXPECT_EQ(Patterns("out.db"), 17);
    EXPECT_EQ(Patterns("part.db"), 15);

    // An existing output is replaced only with --force; without -o the part itself is replaced.
    EXPECT_EQ(Program("edit " + Path("part.db") + " --script " + steps + " -o " + Path("out.db")).code, 73);
    EXPECT_EQ(
        Program("edit " + Path("part.db") + " --script " + steps + " -o " + Path("out.db") + " -f").code, 0);
    ASSERT_EQ(Program("edit " + Path("part.db") + " --script " + steps).code, 0);
    EXPECT_EQ(Patterns("part.db"), 17);
}

// Nothing is saved unless every step ran; the file and line of the culprit are named.
TEST_F(EditCommandTest, BadOrFailingScriptsSaveNothing) {
    struct Case {
        const char* text;
        int code;
        const char* says;
    };
    for (const Case& c :
         {Case{"tool circle\nclick 1 1\nclick 2 1\nexpect patterns 99\n", 65, "bad.txt:4: expected"},
          Case{"tool circle\n\nclik 1 1\n", 65, "bad.txt:3: unknown step 'clik'"}}) {
        const Result run = Program("edit " + Path("part.db") + " --script " + Script("bad.txt", c.text));
        EXPECT_EQ(run.code, c.code) << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(Patterns("part.db"), 15);
    }
    EXPECT_EQ(Program("edit " + Path("part.db") + " --script " + Path("missing.txt")).code, 66);
    EXPECT_EQ(Program("edit " + Path("missing.db") + " --script " + Script("ok.txt", "undo\n")).code, 66);
    const Result help = Program("edit --help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("tool NAME|CODE"), std::string::npos);
    EXPECT_NE(help.out.find("expect WHAT N"), std::string::npos);
}

}  // namespace
