// Fuzzes the DXF reader on arbitrary text, strictly or salvaging (inputs of odd length salvage, so that
// the fuzzer reaches both with one read per input): it must never crash, hang or read past a buffer, and
// whatever it gives back must be sound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzChecks.h"
#include "io/DxfReader.h"

using namespace Norvane;

namespace {

// Keeps one run short: a drawing may expand to this many patterns at most.
constexpr std::size_t kMaxPatterns = 50000;

void ReadOnce(const std::string& text, bool salvage) {
    DxfReader::Options options;
    options.maxPatterns = kMaxPatterns;
    options.salvage = salvage;
    const DxfReader::Result result = DxfReader::ReadText(text, options);
    fuzz::Require(result.patterns != nullptr, "the result has no pattern list");
    if (!result.Ok()) {
        fuzz::Require(result.patterns->empty(), "a failed read gives patterns");
        fuzz::Require(!result.message.empty(), "a failed read gives no message");
        return;
    }
    fuzz::Require(!result.patterns->empty(), "a successful read gives no pattern");
    fuzz::Require(result.patterns->size() <= kMaxPatterns, "the read passed the pattern limit");
    fuzz::RequireSaneBoxes(*result.patterns);
    for (const DxfReader::Refusal& refusal : result.refused) {
        fuzz::Require(!refusal.reason.empty() && refusal.count > 0, "a refusal without reason or count");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReadOnce(text, size % 2 == 1);
    return 0;
}
