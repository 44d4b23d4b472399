#pragma once

// Distances used when loops are built from patterns and kept in step with pattern edits. The joining
// tolerance itself is always the caller's; these are the fixed thresholds around it.
namespace Norvane {

// A chain end and a pattern end this close (Euclidean, inclusive) are one point: the pattern is taken
// without looking further for a nearer candidate.
constexpr double kExactJointTol = 1e-9;

// Starting value of the nearest-candidate search: farther than any real joint, so the first candidate
// within the tolerance always becomes the best. Not a tolerance.
constexpr double kNoCandidateYet = 4294967295.0;

// Joining tolerance of loop upkeep when the changed patterns are re-linked (the editing commands' join
// distance).
constexpr double kEditJoinTol = 0.0001;

// Two line patterns given as a polygon count as sharing a corner when the corner points differ by at most
// this in x and in y (inclusive).
constexpr double kTwoLineCornerTol = 0.0001;

}  // namespace Norvane
