#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

class IntegerList;
class ProgressMeter;
class PatternList;
class PatLoopList;
using IntegerListPtr = boost::shared_ptr<IntegerList>;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Clean-up operations on a part's pattern list, as an import needs them before loops are built: merging
// pieces that continue each other, dropping tiny pieces, moving the drawing to the origin. They change the
// given list in place and leave loops, topology and persistence to the caller. The size and box tests read
// the patterns' caches, which must be current. A class of static members; no state.
class GF_API PatProcessor {
public:
    PatProcessor() = delete;

    // Removes every pattern whose identifier is listed in ids.
    static void Explode(const PatternListPtr& patterns, const IntegerListPtr& ids);
    // Walks the list in order; each pattern A takes in every later pattern B of the same type that
    // duplicates it or that it can absorb (two lines on one line within tolerance that overlap or touch,
    // two arcs on one circle that overlap or touch), the first such B in list order first, looking again
    // from the start after every absorption. B's identifier is appended to removedIds and B leaves the
    // list; A keeps its identifier, covers both, and has its cache refreshed. Only patterns near A are
    // compared with it, so the work grows with the size of the list, not its square.
    //
    // With a progress meter, it reports the patterns walked and stops early when cancelled, leaving the
    // list with the merges done so far.
    static void MergePattern(const PatternListPtr& patterns, double tolerance,
                             std::vector<DataID>& removedIds, ProgressMeter* progress = nullptr);
    // Translates every pattern (seeds and arrays alike) so that the lower-left corner of the list's box
    // lands on the origin, and refreshes their caches. An empty list is left alone. A progress meter is
    // told how far it got; a cancel does not stop it half-way (the caller stops after it).
    static void AdjustOriginToLB(const PatternListPtr& patterns, ProgressMeter* progress = nullptr);
    // Removes every pattern whose cached box is at most size wide and at most size high.
    static void RemoveTinyPatterns(const PatternListPtr& patterns, double size);
    // Removes from patterns the patterns of open loops whose cached box is at most size wide and high;
    // patterns of closed loops stay, however small. The loops are not changed (they keep their nodes).
    static void RemoveTinyPatInOpenLoops(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         double size);

    // Diagnostics, with no effect on data: the end points of every line and arc pattern, written to the
    // debug log one pattern a line / shown in the kernel's diagnostic viewer.
    static void PrintLineArcPatPt(const PatternListPtr& patterns);
    static void DisplayLineArcPatPt(const PatternListPtr& patterns);
};

}  // namespace Norvane
