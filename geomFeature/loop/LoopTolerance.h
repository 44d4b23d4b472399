#pragma once

// Tolerances of the loop model. Each applies exactly where its comment says; callers that need another
// one pass it as an argument.
namespace Norvane {

// Added to the caller's tolerance in the open/closed test: ends farther apart than tolerance + this
// (strict) make a loop open, so ends exactly at the tolerance still count as closed.
constexpr double kLoopOpenSlack = 1e-9;

// The tolerance the loop itself uses when it asks whether it is open (next pattern, corner pairing).
constexpr double kLoopClosedTol = 0.0001;

// Two pattern ends touch when their Manhattan distance |dx| + |dy| is below this (strict); used to find
// the point where two patterns meet.
constexpr double kPatTouchTol = 0.0001;

// A corner point within this distance (inclusive) of the line through its two neighbours is degenerate:
// the three control points give no turning sense.
constexpr double kLoopCollinearTol = 1e-9;

// Control points whose x lies within this (inclusive) of the least x tie for the leftmost corner of the
// direction test; the lowest of them is taken.
constexpr double kLoopLeftmostTieTol = 1e-9;

// Angle tolerance for bringing corner angles into [0, 2*pi) and for the "left turn" threshold of the
// direction test.
constexpr double kLoopAngleTol = 1e-9;

}  // namespace Norvane
