// Recognition on drawings as they really arrive: noisy generated parts (tests/support/NoisyPartGenerator.h)
// in millimetres, in inches and far from the origin, imported with the tolerant rules (the program's
// default) and with the module's exact rules. Prints recall per kind, precision and the worst parameter
// error per kind.
//
//   bench_realdraw [shapes per kind = 200] [seed = 1]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/ImportTolerance.h"
#include "tests/support/NoisyPartGenerator.h"

using namespace Norvane;
using namespace Norvane::testutil;

namespace {

const char* KindName(tagPatternType kind) {
    switch (kind) {
        case PAT_CIRCLE:
            return "circle";
        case PAT_ELLIPSE:
            return "ellipse";
        case PAT_SINGLE_D:
            return "single-d";
        case PAT_DOUBLE_D:
            return "double-d";
        case PAT_OBROUND:
            return "obround";
        case PAT_RAD_SLOT:
            return "radius-slot";
        case PAT_RECT_HOLE:
            return "rectangle";
        case PAT_RC_HOLE:
            return "rounded-rect";
        case PAT_TR_HOLE:
            return "triangle";
        default:
            return "?";
    }
}

void Run(const char* title, NoisyPartOptions options, bool tolerant) {
    const NoisyPart part = MakeNoisyPart(options);
    ImportOptions import;
    import.tolerant = tolerant;
    if (tolerant) {
        import.joinTol = DefaultJoinTolerance(options.unitToMm, part.maxCoordinate);
    }
    ImportReport report;
    const Part result = ImportPipeline::Run(part.pieces, import, report);
    const RecognitionScore score = ScoreRecognition(part, *result.patterns, import.joinTol);
    std::printf("\n%s, %s rules (join tolerance %.3g mm), %zu pieces\n", title,
                tolerant ? "tolerant" : "exact", import.joinTol, report.piecesIn);
    std::printf("  %-13s %6s %6s %8s %12s\n", "kind", "drawn", "found", "recall", "worst error");
    for (const tagPatternType kind : StandardKinds()) {
        const RecognitionScore::Kind& k = score.kinds.at(kind);
        std::printf("  %-13s %6d %6d %7.2f%% %12.2e\n", KindName(kind), k.drawn, k.found,
                    100.0 * score.Recall(kind), k.worstError);
    }
    std::printf("  precision %.2f%% (%d recognised, %d not the shape drawn there; %zu near-misses drawn)\n",
                100.0 * score.Precision(), score.recognised, score.wrong, part.nearMissAt.size());
}

}  // namespace

int main(int argc, char** argv) {
    NoisyPartOptions options;
    options.perKind = argc > 1 ? std::atoi(argv[1]) : 200;
    options.nearMisses = options.perKind / 2;
    options.seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    for (const bool tolerant : {true, false}) {
        NoisyPartOptions mm = options;
        Run("millimetres", mm, tolerant);
        NoisyPartOptions inches = options;
        inches.unitToMm = 25.4;
        Run("inches", inches, tolerant);
        NoisyPartOptions far = options;
        far.offset = 1e5;
        Run("millimetres at 1e5", far, tolerant);
        NoisyPartOptions farInches = inches;
        farInches.offset = 1e5;
        Run("inches at 1e5", farInches, tolerant);
    }
    return 0;
}
