// Fuzzes the whole import on arbitrary DXF text: read (salvaging), clean up, chain, recognise, nest, sum
// up, save and load again. Nothing may crash, and a saved part must load back as it was saved.
#include <cstddef>
#include <cstdint>
#include <string>

#include <boost/make_shared.hpp>

#include "apps/core/JoinHint.h"
#include "apps/core/PartSummary.h"
#include "fuzz/FuzzChecks.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"

using namespace Norvane;

namespace {

// The clean-up's stages are not all n log n yet; small drawings keep every run short.
constexpr std::size_t kMaxPatterns = 1500;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    DxfReader::Options readOptions;
    readOptions.maxPatterns = kMaxPatterns;
    readOptions.salvage = true;
    const DxfReader::Result read = DxfReader::ReadText(text, readOptions);
    if (!read.Ok()) {
        return 0;
    }
    ImportOptions options;
    // The last byte picks variants the program offers, so the fuzzer reaches them too.
    const std::uint8_t flags = size > 0 ? data[size - 1] : 0;
    options.recognise = (flags & 1) == 0;
    options.moveToOrigin = (flags & 2) != 0;
    if (flags & 4) {
        options.joinTol = 0.01;
    }
    ImportReport report;
    // With a progress record, as the program runs it, so that the progress within each stage runs too.
    Part part = ImportPipeline::Run(read.patterns, options, report, boost::make_shared<ProgressData>());
    fuzz::RequireSaneBoxes(*part.patterns);
    PartSummary summary = PartSummary::Of(part);
    JoinHint::Fill(part, options.joinTol, summary);
    (void)summary.ToText(true);
    (void)summary.ToJson(true);

    const auto db = boost::make_shared<DBConnect>(":memory:");
    const PartFileResult saved = PartFile::Save(db, part.patterns, part.loops);
    fuzz::Require(saved.IsOk(), "an imported part does not save");
    Part again;
    again.patterns = boost::make_shared<PatternList>();
    again.loops = boost::make_shared<PatLoopList>();
    const PartFileResult loaded = PartFile::Load(db, again.patterns, again.loops);
    fuzz::Require(loaded.IsOk(), "a saved part does not load");
    fuzz::Require(again.patterns->size() == part.patterns->size(), "a saved part loads other patterns");
    fuzz::Require(again.loops->size() == part.loops->size(), "a saved part loads other loops");
    ImportPipeline::ComputeNesting(again);
    // Arrays and their seeds hold each other through their relations: cut the links, or they leak.
    for (const PatternListPtr& list : {part.patterns, again.patterns}) {
        for (const IPatternPtr& pattern : *list) {
            pattern->GetPatRelationList()->Clear();
        }
    }
    return 0;
}
