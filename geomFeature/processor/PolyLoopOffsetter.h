#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/processor/LoopOffsetReport.h"
#include "geomFeature/processor/PatIDPairList.h"

namespace Norvane {

class PolyPatLoop;
using PolyPatLoopPtr = boost::shared_ptr<PolyPatLoop>;

// The polygon offset engine: moves a closed loop of line and arc patterns to a distance on one side,
// keeping lines as lines and arcs as arcs.
//
// Side: 0 grows the region the loop encloses (the contour moves outward), any other value shrinks it,
// whatever the loop's direction of travel. Standard shapes and arrays read their side the same way
// (IStdPattern::OffsetStdPat, IArrayPattern::OffsetArrayPat), so a side means the same for every loop kind.
//
// The result lies at exactly the distance d from the original loop: every line moves d along its normal,
// every arc keeps its centre and gains or loses d of radius, a convex corner is rounded by an arc of radius
// d about the corner (never bevelled, which would come nearer than d), a concave corner is trimmed where
// the two moved elements cross. Elements that vanish (an arc whose radius reaches zero or below, a line
// shorter than its corner trims) are removed and their neighbours joined; where the offset would cross
// itself (a notch narrower than 2d, a neck that pinches) the parts nearer than d to the loop are cut away.
// Growing always leaves one loop: its outer boundary (gaps it closed over are counted in the report, not
// kept). Shrinking may leave nothing, or several pieces; then there is no single offset loop and the
// answer is 0.
//
// Input: a PolyPatLoop of line and arc patterns, closed within 0.0001, not crossing itself, and d > 0.
// Elements no longer than 1e-9 are ignored. Gaps at the joints are bridged (each element made to start
// where the one before it ends); near a joint that had a gap the result may stray from d by that gap.
//
// On success (answer 1) the loop's nodes are replaced by nodes on NEW line and arc patterns (new
// identifiers, each following its node: follow flag 1, layer and colour taken from the original element),
// in the loop's old direction of travel, starting with what became of the first original element that
// survives. The old patterns are not touched; the new ones are in no pattern list yet, their caches are
// empty and their joints meet to rounding only: LoopProcessor::OffsetPolyLoop does the rest (pattern list,
// ClampClosePolyLoop, caches) and is what callers normally use.
//
// ID pairs: `pairs` is cleared and gets one pair per new node, in node order: first the new pattern's
// identifier, second the identifier of the original pattern it runs parallel to, or 0 for an element made
// at a corner, which has no original counterpart: an arc of radius d about the corner or, where a joint of
// the original was closed only within tolerance, a hair-short line across it. The node before it holds the
// element arriving at that corner, whose layer and colour it took.
// An original pattern may appear several times (a self-crossing cut it in pieces) or not at all (it
// vanished).
//
// On failure (answer 0) the loop, its patterns and pairs are left exactly as they were, and the report
// says why.
class GF_API PolyLoopOffsetter {
public:
    PolyLoopOffsetter() = delete;

    static int Offset(const PolyPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs);
    static int Offset(const PolyPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs,
                      LoopOffsetReport& report);
};

}  // namespace Norvane
