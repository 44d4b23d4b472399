#pragma once

#include "apps/core/PartSummary.h"

namespace Norvane {

// Finds, for the open contours of an imported part, a larger --join-tol that would close them.
//
// A value is suggested only when it was tried and works: the pieces of all open contours are chained
// again (copies; the part is not changed) at each candidate tolerance, and a contour is reported closable
// at the smallest candidate at which its pieces end up in a closed contour. The candidates are the values
// 1, 2 and 5 times a power of ten just above the distance each open end has to travel to meet another
// end, from above the tolerance used up to kMaxRelativeJoinTol of the part's size; at most kMaxTries of
// them are tried, and only when the open contours hold at most kMaxPieces pieces, so the hint costs
// little next to the import itself.
class JoinHint {
public:
    static constexpr double kMaxRelativeJoinTol = 0.01;
    static constexpr int kMaxTries = 6;
    static constexpr std::size_t kMaxPieces = 2000;

    // Fills closingJoinTol of summary's open loops (positions in part.loops) where a value was found.
    static void Fill(const Part& part, double joinTol, PartSummary& summary);
};

}  // namespace Norvane
