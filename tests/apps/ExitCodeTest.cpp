// Every subcommand through every failure a user can meet: each gives the exit code of the one table
// (README and --help), one line on stderr that names the file once and never a temporary file, the same
// failure as JSON on stdout with --json, and leaves no temporary file and no output behind.
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "apps/core/CliError.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/PartSchema.h"
#include "tests/apps/ProgramRunner.h"

namespace Norvane::programtest {
namespace {

const char* const kSubcommands[] = {"import", "info", "render", "export", "offset", "edit"};

// What a row needs to build its command line.
struct Scene {
    fs::path dir;
    std::string sub;
    std::string In(const std::string& name) const { return (dir / name).string(); }
    bool Import() const { return sub == "import"; }
    // The input a subcommand reads: a drawing for import, a part for the others.
    std::string Input() const { return In(Import() ? "good.dxf" : "good.db"); }
    std::string Output() const {
        return sub == "import" || sub == "offset" || sub == "edit" ? In("out.db")
               : sub == "render"                  ? In("out.png")
                                                  : In("out.dxf");
    }
    bool HasOutput() const { return sub != "info"; }
    // "SUB INPUT [--kerf K | --script STEPS] [-o OUTPUT]".
    std::string Command(const std::string& input, const std::string& output = "") const {
        return sub + " " + input + (sub == "offset" ? " --kerf 0.2" : "") +
               (sub == "edit" ? " --script " + In("steps.txt") : "") +
               (HasOutput() ? " -o " + (output.empty() ? Output() : output) : "");
    }
};

struct Row {
    const char* name;
    int code;
    const char* message;    // part of the message, for import
    const char* dbMessage;  // part of the message, for the subcommands that read a part
    // The command line after "geomfeature", or nothing when the case cannot be made on this machine.
    std::function<std::optional<std::string>(const Scene&)> command;
    bool aboutOutput = false;  // the case concerns the output: subcommands without one are left out
    const char* prefix = "";   // shell commands run before the program
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

void Write(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

const std::string kNanLine =
    "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n1F\n8\n0\n10\nnan\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n";

// A part database whose only row is an arc of radius -2, as a hand-edited file might hold.
void WriteUnsoundPart(const std::string& path) {
    DBConnect db(path);
    PartSchema::CreateMissingTables(db);
    db.Execute(
        "insert into geometry_patternData values (1, 203, 0.0, 0.0, -2.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0, 0);",
        0);
}

const std::vector<Row> kRows = {
    {"UnknownOption", 64, "--frobnicate", "--frobnicate",
     [](const Scene& s) { return s.Command(s.Input()) + " --frobnicate"; }},
    {"OutputIsTheInput", 64, "is the input itself", "is the input itself",
     [](const Scene& s) -> std::optional<std::string> {
         // The part is copied under a name the subcommand accepts as its output.
         const std::string input = s.Import() ? s.Input() : s.Output();
         if (!s.Import())
             fs::copy_file(s.Input(), input);
         return s.Command(input, input) + " --force";
     },
     true},
    {"OutputIsAHardLinkOfTheInput", 64, "is the same file as the input", "is the same file as the input",
     [](const Scene& s) -> std::optional<std::string> {
         fs::create_hard_link(s.Input(), s.Output());
         return s.Command(s.Input()) + " --force";
     },
     true},
    {"NotTheRightKindOfFile", 65, "not a DXF file", "not an SQLite database",
     [](const Scene& s) {
         Write(s.In("prose"), "This is a letter, not a drawing.\nKind regards\n");
         return s.Command(s.In("prose"));
     }},
    {"TruncatedInput", 65, "the file ends inside ENTITIES at line", "the database is damaged",
     [](const Scene& s) {
         const std::string whole = ReadFile(s.Input());
         Write(s.In("cut"), whole.substr(0, s.Import() ? whole.size() * 7 / 10 : 3000));
         return s.Command(s.In("cut"));
     }},
    {"UnsoundContent", 65, "no geometry to import: LINE (handle 1F, line 5) refused",
     "radius -2 is not positive",
     [](const Scene& s) {
         if (s.Import()) {
             Write(s.In("unsound"), kNanLine);
         } else {
             WriteUnsoundPart(s.In("unsound"));
         }
         return s.Command(s.In("unsound"));
     }},
    {"MissingInput", 66, "no such file", "no such file",
     [](const Scene& s) { return s.Command(s.In("nothing")); }},
    {"InputIsAFolder", 66, "is a folder", "is a folder",
     [](const Scene& s) {
         fs::create_directory(s.In("folder"));
         return s.Command(s.In("folder"));
     }},
    {"OutputExists", 73, "already exists (use --force", "already exists (use --force",
     [](const Scene& s) -> std::optional<std::string> {
         Write(s.Output(), "precious");
         return s.Command(s.Input());
     },
     true},
    {"OutputFolderMissing", 73, "no such folder", "no such folder",
     [](const Scene& s) -> std::optional<std::string> {
         return s.Command(s.Input(), s.In("nowhere/out" + s.Output().substr(s.Output().rfind('.'))));
     },
     true},
    {"OutputFolderNotWritable", 73, "cannot create a file in", "cannot create a file in",
     [](const Scene& s) -> std::optional<std::string> {
         const std::string name = "out" + s.Output().substr(s.Output().rfind('.'));
         // Permissions do not stop root; /proc takes no new files from anybody.
         if (::geteuid() == 0)
             return s.Command(s.Input(), "/proc/" + name);
         fs::create_directory(s.In("locked"));
         fs::permissions(s.In("locked"), fs::perms::owner_read | fs::perms::owner_exec);
         return s.Command(s.Input(), s.In("locked/" + name));
     },
     true},
    {"OutputIsAFolder", 73, "is a folder, not a file", "is a folder, not a file",
     [](const Scene& s) -> std::optional<std::string> {
         fs::create_directory(s.Output());
         return s.Command(s.Input());
     },
     true},
    {"OutputIsNoRegularFile", 73, "is not a regular file", "is not a regular file",
     [](const Scene& s) -> std::optional<std::string> {
         fs::create_symlink("/dev/null", s.Output());
         return s.Command(s.Input()) + " --force";
     },
     true},
    {"DiskFullWhileWriting", 74, "", "",  // the writers word it each their own way
     [](const Scene& s) -> std::optional<std::string> { return s.Command(s.Input()); }, true, "ulimit -f 1;"},
    {"ReadFails", 74, "reading failed", "reading failed",
     [](const Scene& s) -> std::optional<std::string> {
         // The kernel refuses to read this file from its start.
         if (!fs::is_regular_file("/proc/self/mem"))
             return std::nullopt;
         return s.Command("/proc/self/mem");
     }},
};

class ExitCodeTest : public ProgramTest, public ::testing::WithParamInterface<std::tuple<Row, const char*>> {
protected:
    static void SetUpTestSuite() {
        shared = fs::temp_directory_path() / ("gf_exitcodes_" + std::to_string(::getpid()));
        fs::create_directories(shared);
        fs::copy_file(Sample("plate.dxf"), shared / "good.dxf", fs::copy_options::overwrite_existing);
        const ProgramRun made = Program("import " + (shared / "good.dxf").string() + " -o " +
                                        (shared / "good.db").string() + " -q --force");
        ASSERT_EQ(made.code, 0) << made.err;
    }
    static void TearDownTestSuite() { fs::remove_all(shared); }
    static fs::path shared;
};

fs::path ExitCodeTest::shared;

TEST_P(ExitCodeTest, OneCodeOneLineNothingLeftBehind) {
    const Row& row = std::get<0>(GetParam());
    const Scene scene{dir, std::get<1>(GetParam())};
    fs::copy_file(shared / "good.dxf", In("good.dxf"));
    fs::copy_file(shared / "good.db", In("good.db"));
    std::ofstream(In("steps.txt")) << "expect undo 0\n";
    const std::optional<std::string> command = row.command(scene);
    if (!command)
        GTEST_SKIP() << "cannot be made on this machine";
    const bool hasJson = scene.sub == "import" || scene.sub == "info" || scene.sub == "offset";
    const ProgramRun run = Program(*command + (hasJson ? " --json" : ""), row.prefix);

    EXPECT_EQ(run.code, row.code) << run.err;
    // One line, led by the program's name, with the reason, naming each file once, never a temporary.
    ASSERT_EQ(run.err.rfind("geomfeature: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(scene.Import() ? row.message : row.dbMessage), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(".geomfeature-"), std::string::npos) << run.err;
    EXPECT_LE(Count(run.err, "good."), 1u) << run.err;
    EXPECT_LE(Count(run.err, "out."), 1u) << run.err;
    if (hasJson) {
        const auto j = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << run.out;
        EXPECT_EQ(j["error"]["code"], row.code);
        EXPECT_EQ("geomfeature: " + j["error"]["message"].get<std::string>() + "\n", run.err);
    }
    // Nothing new in the folder: no temporary file, no output (an existing one kept as it was).
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find(".geomfeature-"), std::string::npos) << name;
    }
    if (std::string(row.name) == "OutputExists") {
        EXPECT_EQ(ReadFile(scene.Output()), "precious");
    } else if (fs::is_regular_file(scene.Output()) && !fs::is_symlink(scene.Output())) {
        EXPECT_TRUE(std::string(row.name).find("Input") != std::string::npos ||
                    std::string(row.name).find("Link") != std::string::npos)
            << "an output was written";
    }
}

// Every row with every subcommand it concerns.
std::vector<std::tuple<Row, const char*>> Cases() {
    std::vector<std::tuple<Row, const char*>> cases;
    for (const Row& row : kRows) {
        for (const char* sub : kSubcommands) {
            if (!row.aboutOutput || std::string(sub) != "info")
                cases.emplace_back(row, sub);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EverySubcommand, ExitCodeTest, ::testing::ValuesIn(Cases()), [](const auto& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param);
});

// The README and every --help show the same exit-code table.
TEST(ExitCodeTable, ReadmeAndEveryHelpShowTheSameTable) {
    EXPECT_NE(ReadFile(std::string(GF_SOURCE_DIR) + "/README.md").find(kExitCodeTable), std::string::npos);
    for (const std::string& help :
         {std::string("--help"), std::string("import --help"), std::string("info --help"),
          std::string("render --help"), std::string("export --help"), std::string("offset --help")}) {
        const ProgramRun run = Program(help);
        EXPECT_EQ(run.code, 0) << help;
        EXPECT_NE(run.out.find(kExitCodeTable), std::string::npos) << help;
    }
}

}  // namespace
}  // namespace Norvane::programtest
