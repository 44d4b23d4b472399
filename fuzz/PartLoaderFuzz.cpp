// Fuzzes the part loader on the rows of a part database (PartRows' text form), strictly and leniently:
// nothing may crash; what loads must be sound geometry, must survive the nesting the programs compute,
// and must save and load again unchanged in number.
#include <cstddef>
#include <cstdint>
#include <string>

#include <boost/make_shared.hpp>

#include "fuzz/FuzzChecks.h"
#include "fuzz/PartRows.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"

using namespace Norvane;

namespace {

void ReleaseLinks(const PatternListPtr& list) {
    for (const IPatternPtr& pattern : *list) {
        pattern->GetPatRelationList()->Clear();
    }
}

void LoadOnce(const DBConnectPtr& db, tagPartLoadPolicy policy) {
    Part part;
    part.patterns = boost::make_shared<PatternList>();
    part.loops = boost::make_shared<PatLoopList>();
    const PartFileResult result = PartFile::Load(db, part.patterns, part.loops, policy);
    if (!result.IsOk()) {
        fuzz::Require(part.patterns->empty() && part.loops->empty(), "a failed load adds patterns or loops");
        return;
    }
    fuzz::RequireSaneBoxes(*part.patterns);
    ImportPipeline::ComputeNesting(part);

    const auto copy = boost::make_shared<DBConnect>(":memory:");
    fuzz::Require(PartFile::Save(copy, part.patterns, part.loops).IsOk(), "a loaded part does not save");
    Part again;
    again.patterns = boost::make_shared<PatternList>();
    again.loops = boost::make_shared<PatLoopList>();
    fuzz::Require(PartFile::Load(copy, again.patterns, again.loops).IsOk(), "a saved part does not load");
    fuzz::Require(again.patterns->size() == part.patterns->size(), "a saved part loads other patterns");
    fuzz::Require(again.loops->size() == part.loops->size(), "a saved part loads other loops");
    ReleaseLinks(part.patterns);
    ReleaseLinks(again.patterns);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const DBConnectPtr db = PartRows::Load(text);
    LoadOnce(db, tagPartLoadPolicy::Strict);
    LoadOnce(db, tagPartLoadPolicy::SkipBadRows);
    return 0;
}
