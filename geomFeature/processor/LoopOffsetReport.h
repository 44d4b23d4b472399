#pragma once

namespace Norvane {

// Why a loop could not be offset. The loop is then left exactly as it was.
enum class LoopOffsetFailure : int {
    None = 0,            // offset done
    NoLoop,              // no loop was given
    BadDistance,         // the distance is not a finite number above zero
    OpenLoop,            // the loop does not close (its ends lie farther apart than 0.0001)
    UnsupportedPattern,  // a polygon loop holding something other than lines and arcs
    Degenerate,          // the loop encloses no area (or holds NaN / infinite coordinates)
    Vanishes,            // shrinking leaves nothing: the loop is nowhere wider than twice the distance
    SplitsApart,         // shrinking leaves several separate pieces (a neck narrower than twice the distance)
    NoValidLoop,         // no closed offset loop could be formed (degenerate or self-crossing input)
    ShapeRefuses,        // a standard shape or array refused its own offset (a dimension would vanish)
};

// What one offset did, for callers that report on it (the kerf command).
struct LoopOffsetReport {
    LoopOffsetFailure failure = LoopOffsetFailure::None;
    // Growing only: gaps the grown contour closed over (a bay whose mouth is narrower than twice the
    // distance but that is wider inside). The offset loop runs round them; they are not part of the answer.
    int voidsFilled = 0;
};

}  // namespace Norvane
