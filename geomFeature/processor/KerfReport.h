#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/loop/LoopType.h"
#include "geomFeature/pattern/PatternType.h"
#include "geomFeature/processor/LoopOffsetReport.h"

namespace Norvane {

// What a closed loop is in the part, by its depth in the nesting tree: the cutter moves outside outer
// contours and islands (depth 0, 2, ...) and inside holes (depth 1, 3, ...). Open loops are not cut to a
// side and are left as drawn.
enum class KerfLoopRole : int { Outer, Hole, Island, Open };

// How a loop was offset.
enum class KerfMethod : int {
    None,      // left as drawn (open, or the offset could not be made)
    Engine,    // a polygon loop, by the polygon offset engine
    OwnShape,  // a standard shape or array by its own offset, which is exact for that shape and side
    Outline,   // a standard shape or array turned into the lines and arcs of its outline, then offset by
               // the engine: its own offset would not be exact (grown sharp corners, an ellipse) or refused
};

// One loop of the part as it was before the compensation, and what became of it.
struct KerfLoopOutcome {
    DataID loopID = 0;                // the loop's identifier (kept by the offset loop)
    tagLoopType kind = LOOP_POLY;     // before
    tagPatternType shape = PAT_LINE;  // a standard loop's shape, an array's seed shape; PAT_LINE else
    std::size_t elements = 0;         // lines and arcs of a polygon loop; copies of an array; else 1
    KerfLoopRole role = KerfLoopRole::Open;
    Rect2D box;  // of the drawn loop
    KerfMethod method = KerfMethod::None;
    LoopOffsetFailure failure = LoopOffsetFailure::None;  // why a closed loop was left as drawn
    int voidsFilled = 0;  // gaps a grown contour closed over (they are not cut)
    // The farthest the cut passes from the drawn contour beyond the compensation itself: more than half the
    // kerf where a part narrower than the kerf (a slit, a neck, a notch) or a corner sharper than 60 degrees
    // cannot be reached. 0 when every point of the drawn contour is within a kerf of the cutter's path.
    double miss = 0.0;
    Point2D missAt;  // the drawn point missed by that much

    bool Offset() const { return method != KerfMethod::None; }
};

// Two loops whose compensated paths cross or touch: the scrap between them (the gap between two outer
// contours or islands, or between a hole and an island in it) is narrower than the kerf, so cutting one
// cuts into the other.
struct KerfCrossing {
    DataID first = 0;
    DataID second = 0;
    Point2D at;
};

struct KerfReport {
    double kerf = 0.0;
    std::vector<KerfLoopOutcome> loops;  // every loop of the part, in loop list order
    std::vector<KerfCrossing> crossings;

    std::size_t CountOffset() const {
        return Count([](const KerfLoopOutcome& o) { return o.Offset(); });
    }
    // Closed loops left as drawn.
    std::size_t CountKept() const {
        return Count([](const KerfLoopOutcome& o) { return !o.Offset() && o.role != KerfLoopRole::Open; });
    }
    std::size_t CountOpen() const {
        return Count([](const KerfLoopOutcome& o) { return o.role == KerfLoopRole::Open; });
    }

private:
    template <class Pred>
    std::size_t Count(Pred pred) const {
        std::size_t n = 0;
        for (const KerfLoopOutcome& o : loops) n += pred(o) ? 1 : 0;
        return n;
    }
};

}  // namespace Norvane
