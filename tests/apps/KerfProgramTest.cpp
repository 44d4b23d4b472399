// geomfeature offset (kerf compensation) and render --kerf, run as a person runs them: on the samples, on
// real parts of the corpus when it is present, and with bad options.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;

// Corpus parts run by default: an array of slots, rounded-rectangle slots with notches, dozens of square
// cut-outs, an outline of many arcs. GF_KERF_CORPUS=all runs every part of the corpus.
const char* const kCorpusParts[] = {"16n__16n-134-top.dxf", "voron2__300_Deck_Panel.dxf", "open65__plate.dxf",
                                    "bbctrl-enclosure__back3.dxf"};
const char* const kCorpusDir = "/work/shared/corpus/dxf";

struct ProgramRun {
    int code = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

class KerfProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("gf_kerf_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string In(const std::string& name) const { return (m_dir / name).string(); }

    ProgramRun Program(const std::string& arguments) const {
        ProgramRun run;
        const std::string errFile = In("stderr.txt");
        const std::string command = std::string(GF_PROGRAM) + " " + arguments + " 2>" + errFile;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return run;
        std::array<char, 4096> buffer;
        while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            run.out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errFile);
        run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return run;
    }

    // Imports a DXF into name.db and answers the import's loop count (-1 when the import failed).
    int Import(const std::string& dxf, const std::string& name) const {
        const ProgramRun run = Program("import " + dxf + " -o " + In(name + ".db") + " --json -q");
        if (run.code != 0)
            return -1;
        return nlohmann::json::parse(run.out)["loops"]["total"].get<int>();
    }

    // Compensates name.db into name-kerf.db and checks what every run must give: success, a report on
    // every loop, a warning for every loop left as drawn, and a saved part that loads with no loop lost.
    nlohmann::json Compensate(const std::string& name, int loops, const std::string& kerf = "0.2") const {
        const ProgramRun run = Program("offset " + In(name + ".db") + " --kerf " + kerf + " -o " +
                                In(name + "-kerf.db") + " --json");
        EXPECT_EQ(run.code, 0) << run.err;
        const auto j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["loops"]["total"], loops);
        EXPECT_EQ(j["loops"]["offset"].get<int>() + j["loops"]["left_as_drawn"].get<int>() +
                      j["loops"]["open"].get<int>(),
                  loops);
        for (const auto& kept : j["loops"]["left_as_drawn_loops"]) {
            EXPECT_NE(run.err.find("#" + std::to_string(kept["loop"].get<int>()) + " "), std::string::npos)
                << "no warning names loop " << kept["loop"] << "\n"
                << run.err;
        }
        EXPECT_EQ(j["warnings"].size(),
                  static_cast<std::size_t>(std::count(run.err.begin(), run.err.end(), '\n')));
        const ProgramRun info = Program("info " + In(name + "-kerf.db") + " --json");
        EXPECT_EQ(info.code, 0) << info.err;
        // Arrays that became lines and arcs give one loop per copy: never fewer loops than before.
        EXPECT_GE(nlohmann::json::parse(info.out)["loops"]["total"].get<int>(), loops);
        return j;
    }

    fs::path m_dir;
};

std::string Sample(const char* name) {
    return std::string(GF_SOURCE_DIR) + "/samples/" + name;
}

// Every contour of the samples is compensated: the bracket's outline and its nine standard holes of every
// kind, the plate's rows and rings of holes, the cut-out's spline and bulged outlines.
TEST_F(KerfProgramTest, SamplesAreCompensatedWhole) {
    for (const char* sample : {"bracket.dxf", "plate.dxf", "cutout.dxf"}) {
        SCOPED_TRACE(sample);
        const int loops = Import(Sample(sample), "part");
        ASSERT_GT(loops, 0);
        const auto j = Compensate("part", loops);
        EXPECT_EQ(j["loops"]["left_as_drawn"], 0);
        EXPECT_EQ(j["loops"]["by_role"]["outer"]["offset"], 1);
        EXPECT_EQ(j["crossings"], 0);

        const ProgramRun picture = Program("render " + In("part.db") + " -o " + In("part.png") + " --kerf 0.2");
        EXPECT_EQ(picture.code, 0) << picture.err;
        EXPECT_GT(fs::file_size(In("part.png")), 1000u);
        fs::remove(In("part.db"));
        fs::remove(In("part-kerf.db"));
        fs::remove(In("part.png"));
    }
}

// A kerf wider than the bracket's smallest hole: that hole keeps its drawn size and a warning says where
// and why; the rest is compensated.
TEST_F(KerfProgramTest, AHoleNarrowerThanTheKerfIsKeptAndNamed) {
    const int loops = Import(Sample("bracket.dxf"), "b");
    ASSERT_GT(loops, 0);
    const auto j = Compensate("b", loops, "9");
    EXPECT_GT(j["loops"]["left_as_drawn"].get<int>(), 0);
    EXPECT_GT(j["loops"]["offset"].get<int>(), 0);
    for (const auto& w : j["warnings"]) {
        if (w["kind"] == "left as drawn") {
            EXPECT_NE(w["message"].get<std::string>().find("hole #"), std::string::npos) << w;
            EXPECT_NE(w["message"].get<std::string>().find(" at ("), std::string::npos) << w;
        }
    }
}

// Without -o the report is printed and nothing is written; bad kerfs are usage errors; an existing output
// needs --force; the input is never the output.
TEST_F(KerfProgramTest, OptionsAndOutputs) {
    ASSERT_GT(Import(Sample("plate.dxf"), "p"), 0);
    const ProgramRun report = Program("offset " + In("p.db") + " --kerf 0.3");
    EXPECT_EQ(report.code, 0) << report.err;
    EXPECT_NE(report.out.find("nothing written"), std::string::npos) << report.out;
    EXPECT_FALSE(fs::exists(In("p-kerf.db")));

    for (const char* bad : {"--kerf 0", "--kerf -1", "--kerf abc", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Program("offset " + In("p.db") + " " + bad + " -o " + In("x.db")).code, 64);
        EXPECT_FALSE(fs::exists(In("x.db")));
    }
    EXPECT_EQ(Program("render " + In("p.db") + " -o " + In("x.png") + " --kerf 0").code, 64);
    EXPECT_EQ(Program("offset " + In("missing.db") + " --kerf 0.2").code, 66);

    EXPECT_EQ(Program("offset " + In("p.db") + " --kerf 0.2 -o " + In("p2.db")).code, 0);
    EXPECT_EQ(Program("offset " + In("p.db") + " --kerf 0.2 -o " + In("p2.db")).code, 73);
    EXPECT_EQ(Program("offset " + In("p.db") + " --kerf 0.2 -o " + In("p2.db") + " --force").code, 0);
    const auto size = fs::file_size(In("p.db"));
    EXPECT_EQ(Program("offset " + In("p.db") + " --kerf 0.2 -o " + In("p.db") + " --force").code, 64);
    EXPECT_EQ(fs::file_size(In("p.db")), size);
}

// Real parts: every closed contour is either compensated or named in a warning, and the result loads.
TEST_F(KerfProgramTest, CorpusPartsAreCompensatedOrNamed) {
    if (!fs::is_directory(kCorpusDir))
        GTEST_SKIP() << "no corpus at " << kCorpusDir;
    std::vector<std::string> parts;
    const char* all = std::getenv("GF_KERF_CORPUS");
    if (all != nullptr && std::string(all) == "all") {
        for (const auto& entry : fs::directory_iterator(kCorpusDir)) parts.push_back(entry.path().string());
    } else {
        for (const char* name : kCorpusParts) parts.push_back(std::string(kCorpusDir) + "/" + name);
    }
    for (const std::string& dxf : parts) {
        SCOPED_TRACE(dxf);
        const int loops = Import(dxf, "c");
        if (loops <= 0)
            continue;  // not a part this program imports: the import's own tests say why
        Compensate("c", loops);
        fs::remove(In("c.db"));
        fs::remove(In("c-kerf.db"));
    }
}

}  // namespace
