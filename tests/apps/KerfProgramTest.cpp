// geomfeature offset (kerf compensation) and render --kerf, run as a person runs them: on the samples, on
// real parts of the corpus when it is present, and with bad options.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/apps/ProgramRunner.h"

namespace {

namespace fs = std::filesystem;

// Corpus parts run by default: an array of slots, rounded-rectangle slots with notches, dozens of square
// cut-outs, an outline of many arcs. GF_KERF_CORPUS=all runs every part of the corpus.
const char* const kCorpusParts[] = {"16n__16n-134-top.dxf", "voron2__300_Deck_Panel.dxf", "open65__plate.dxf",
                                    "bbctrl-enclosure__back3.dxf"};
const char* const kCorpusDir = "/work/shared/corpus/dxf";

class KerfProgramTest : public Norvane::programtest::ProgramTest {
protected:
    // Imports a DXF into part.db; answers its loop count, -1 when the import failed.
    int Import(const std::string& dxf) {
        if (Run("import " + dxf + " -o " + In("part.db") + " --json -q --force") != 0)
            return -1;
        return nlohmann::json::parse(out)["loops"]["total"].get<int>();
    }

    // Compensates part.db into kerf.db and checks what every run must give: success, an outcome for every
    // loop, one warning line per reported warning naming every loop left as drawn, and a saved part that
    // loads without losing a loop (arrays turned into lines and arcs give one loop per copy).
    nlohmann::json Compensate(int loops, const std::string& kerf) {
        EXPECT_EQ(
            Run("offset " + In("part.db") + " --kerf " + kerf + " -o " + In("kerf.db") + " -f --json"), 0)
            << err;
        const auto j = nlohmann::json::parse(out);
        const auto& n = j["loops"];
        EXPECT_EQ(n["total"], loops);
        EXPECT_EQ(n["offset"].get<int>() + n["left_as_drawn"].get<int>() + n["open"].get<int>(), loops);
        EXPECT_EQ(j["warnings"].size(), static_cast<std::size_t>(std::count(err.begin(), err.end(), '\n')));
        for (const auto& kept : n["left_as_drawn_loops"]) {
            EXPECT_NE(err.find("#" + std::to_string(kept["loop"].get<int>()) + " ("), std::string::npos)
                << err;
        }
        EXPECT_EQ(Run("info " + In("kerf.db") + " --json"), 0) << err;
        EXPECT_GE(nlohmann::json::parse(out)["loops"]["total"].get<int>(), loops);
        return j;
    }
};

// Every contour of the samples is compensated: the bracket's outline and its nine standard holes of every
// kind, the plate's rows and rings of holes, the cut-out's spline and bulged outlines. A kerf wider than
// the bracket's narrowest hole keeps that hole as drawn and says where and why.
TEST_F(KerfProgramTest, SamplesAreCompensated) {
    for (const char* sample : {"bracket.dxf", "plate.dxf", "cutout.dxf"}) {
        SCOPED_TRACE(sample);
        const int loops = Import(std::string(GF_SOURCE_DIR) + "/samples/" + sample);
        ASSERT_GT(loops, 0);
        const auto j = Compensate(loops, "0.2");
        EXPECT_EQ(j["loops"]["left_as_drawn"], 0);
        EXPECT_EQ(j["loops"]["by_role"]["outer"]["offset"], 1);
        EXPECT_EQ(j["crossings"], 0);
    }
    ASSERT_GT(Import(std::string(GF_SOURCE_DIR) + "/samples/bracket.dxf"), 0);
    EXPECT_EQ(Run("render " + In("part.db") + " -o " + In("part.png") + " --kerf 0.2"), 0) << err;
    EXPECT_GT(fs::file_size(In("part.png")), 1000u);
    const auto wide = Compensate(10, "9");
    EXPECT_GT(wide["loops"]["left_as_drawn"].get<int>(), 0);
    const std::string first = wide["warnings"][0]["message"];
    EXPECT_EQ(first.rfind("hole #", 0), 0u) << first;
    EXPECT_NE(first.find(" at ("), std::string::npos) << first;
    EXPECT_NE(first.find("left as drawn"), std::string::npos) << first;
}

// Without -o the report is printed and nothing is written; bad kerfs are usage errors; an existing output
// needs --force; the input is never the output.
TEST_F(KerfProgramTest, OptionsAndOutputs) {
    ASSERT_GT(Import(std::string(GF_SOURCE_DIR) + "/samples/plate.dxf"), 0);
    EXPECT_EQ(Run("offset " + In("part.db") + " --kerf 0.3"), 0) << err;
    EXPECT_NE(out.find("nothing written"), std::string::npos) << out;
    for (const char* bad : {"--kerf 0", "--kerf -1", "--kerf abc", ""}) {
        EXPECT_EQ(Run("offset " + In("part.db") + " " + bad + " -o " + In("x.db")), 64) << bad;
        EXPECT_FALSE(fs::exists(In("x.db")));
    }
    EXPECT_EQ(Run("render " + In("part.db") + " -o " + In("x.png") + " --kerf 0"), 64);
    EXPECT_EQ(Run("offset " + In("missing.db") + " --kerf 0.2"), 66);
    EXPECT_EQ(Run("offset " + In("part.db") + " --kerf 0.2 -o " + In("p2.db")), 0);
    EXPECT_EQ(Run("offset " + In("part.db") + " --kerf 0.2 -o " + In("p2.db")), 73);
    const auto size = fs::file_size(In("part.db"));
    EXPECT_EQ(Run("offset " + In("part.db") + " --kerf 0.2 -o " + In("part.db") + " --force"), 64);
    EXPECT_EQ(fs::file_size(In("part.db")), size);
}

// Real parts: every closed contour is compensated or named in a warning, and the result loads.
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
        const int loops = Import(dxf);
        if (loops > 0)
            Compensate(loops, "0.2");  // a file the import refuses is the import tests' business
    }
}

}  // namespace
