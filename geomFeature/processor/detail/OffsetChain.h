#pragma once

#include <vector>

#include "geomFeature/processor/detail/OffsetCurve.h"

namespace Norvane {
namespace detail {

// How an offset of a closed chain came out.
enum class ChainOffsetStatus {
    Ok,           // one simple closed loop
    Vanishes,     // shrinking leaves no region
    SplitsApart,  // shrinking leaves several separate regions, which one loop cannot stand for
    NoValidLoop,  // no closed loop could be stitched from the valid pieces (degenerate input)
};

struct ChainOffset {
    ChainOffsetStatus status = ChainOffsetStatus::NoValidLoop;
    std::vector<OffsetSeg> loop;  // counter-clockwise, consecutive elements sharing their end points
    int voidsFilled = 0;          // growing: enclosed gaps the grown contour closed over and left out
};

// The offset of a closed chain that runs counter-clockwise (positive area) and has no zero-length
// elements, by |delta|: outward (the region grows) when delta > 0, inward when delta < 0. jointGap is the
// widest gap the chain's joints had before they were bridged: near such a joint the offset can stray from
// |delta| by that much, and the pieces kept may too.
//
// Method: every element is moved to the offset distance (lines along their normal, arcs concentric),
// convex corners are joined by arcs of radius |delta| about the corner, concave ones trimmed where the
// moved elements cross (or bridged by a connector when they do not). This raw curve contains the true
// offset and may cross itself; it is cut at every self-crossing, the pieces lying nearer than |delta| to
// the original are thrown away, and the rest are stitched into closed loops. A piece's validity can only
// change where the raw curve crosses itself, so one distance test per element of a piece decides it.
ChainOffset OffsetClosedChain(const std::vector<OffsetSeg>& chain, double delta, double jointGap);

// The raw offset curve (exposed for the engine's own use and tests of it): closed, consecutive elements
// sharing their end points exactly; empty when every element vanishes.
std::vector<OffsetSeg> BuildRawOffset(const std::vector<OffsetSeg>& chain, double delta);

}  // namespace detail
}  // namespace Norvane
