// The import as the module runs it (indexed merge, chaining and nesting) against the import as first
// written (a scan of every candidate; tests/import/reference): on generated plates over several seeds and
// tolerances, and on every drawing of the shared corpus and the samples, both must give the same pattern
// list, the same loops (order, node order, follow flags), the same nesting tree and the same boundary loop.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"
#include "tests/import/PartFingerprint.h"
#include "tests/import/PlateGenerator.h"
#include "tests/import/reference/ReferenceAlgorithms.h"

namespace Norvane {
namespace {

namespace fs = std::filesystem;
using testplate::Fingerprint;
using testplate::FirstDifference;

// The reference is quadratic: a 10,000-piece plate takes it several seconds, and many times that under the
// sanitizers. One such plate runs in every plain build; GF_DIFF_LARGE=1 runs them all, sanitizers or not.
bool LargeAllowed(bool always) {
    if (std::getenv("GF_DIFF_LARGE") != nullptr)
        return true;
#ifdef GF_SANITIZED
    (void)always;
    return false;
#else
    return always;
#endif
}

std::string Compare(const PatternListPtr& forReference, const PatternListPtr& forModule,
                    const ImportOptions& options) {
    const Part expected = reference::RunImport(forReference, options);
    ImportReport report;
    const Part actual = ImportPipeline::Run(forModule, options, report);
    return FirstDifference(Fingerprint(expected), Fingerprint(actual));
}

struct PlateCase {
    unsigned seed;
    std::size_t pieces;
    double joinTol = 1e-4;
    double mergeTol = 1e-4;
    bool toOrigin = false;
    int large = 0;  // 1: a 10,000-piece plate run in every plain build; 2: only when asked for
};

void PrintTo(const PlateCase& c, std::ostream* os) {
    *os << "seed " << c.seed << ", " << c.pieces << " pieces, join " << c.joinTol << ", merge " << c.mergeTol;
}

class PlateDifferential : public ::testing::TestWithParam<PlateCase> {};

TEST_P(PlateDifferential, SameAsTheScanOfEveryCandidate) {
    const PlateCase& c = GetParam();
    if (c.large != 0 && !LargeAllowed(c.large == 1)) {
        GTEST_SKIP() << "a 10,000-piece plate; set GF_DIFF_LARGE=1 to run it";
    }
    testplate::PlateSpec spec;
    spec.seed = c.seed;
    spec.pieces = c.pieces;
    spec.joinTol = c.joinTol;
    ImportOptions options;
    options.joinTol = c.joinTol;
    options.mergeTol = c.mergeTol;
    options.tinySize = 0.01;
    options.moveToOrigin = c.toOrigin;
    const std::string difference = Compare(testplate::MakePlate(spec), testplate::MakePlate(spec), options);
    EXPECT_TRUE(difference.empty()) << difference;
}

INSTANTIATE_TEST_SUITE_P(
    Plates, PlateDifferential,
    ::testing::Values(PlateCase{1, 400}, PlateCase{2, 400}, PlateCase{3, 400}, PlateCase{4, 400},
                      PlateCase{5, 400, 1e-4, 1e-4, true}, PlateCase{6, 1500}, PlateCase{7, 1500},
                      // Loose tolerances join and merge far more; tight ones keep the gapped joints open.
                      PlateCase{8, 1500, 1e-3, 0.01}, PlateCase{9, 1500, 5e-6, 1e-6},
                      PlateCase{1, 10000, 1e-4, 1e-4, false, 1}, PlateCase{2, 10000, 1e-4, 1e-4, false, 2},
                      PlateCase{3, 10000, 1e-3, 0.01, false, 2}, PlateCase{4, 10000, 1e-4, 1e-4, true, 2}));

// Every real drawing we have, read twice.
TEST(CorpusDifferential, SameAsTheScanOfEveryCandidate) {
    std::vector<fs::path> files;
    for (const fs::path& dir : {fs::path(GF_CORPUS_DIR) / "dxf", fs::path(GF_CORPUS_DIR) / "dxf-edge",
                                fs::path(GF_SOURCE_DIR) / "samples"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            if (entry.path().extension() == ".dxf")
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.size() < 4)
        GTEST_SKIP() << "no corpus at " << GF_CORPUS_DIR;
    int compared = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const DxfReader::Result first = DxfReader::Read(file.string());
        if (!first.Ok())
            continue;  // the reader's own tests cover refused files
        const DxfReader::Result second = DxfReader::Read(file.string());
        const std::string difference = Compare(first.patterns, second.patterns, ImportOptions());
        EXPECT_TRUE(difference.empty()) << difference;
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

}  // namespace
}  // namespace Norvane
