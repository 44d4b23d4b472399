#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

class PatLoopList;
class ProgressMeter;
class LoopTopItem;
class LoopTopItemList;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;
using LoopTopItemPtr = boost::shared_ptr<LoopTopItem>;
using LoopTopItemListPtr = boost::shared_ptr<LoopTopItemList>;

// Operations on loops and loop lists that need more than one loop's own data: cache refresh, nesting,
// upkeep on pattern edits. A class of static members; each topic lives in its own source file
// (LoopProcessor_<Topic>.cpp).
class GF_API LoopProcessor {
public:
    LoopProcessor() = delete;

    // --- Cache refresh -------------------------------------------------------------------------------
    // Rebuilds each loop's cache from its patterns' caches, which are trusted to be current: the box is
    // the union of the pattern boxes, the geometry the patterns' cached elements in node order (shared,
    // not copied, each in its pattern's own direction). The loop keeps its cache object.
    static void UpdateCache(const PatLoopListPtr& loops);
    static void UpdateCache(const IPatLoopPtr& loop);
    // As UpdateCache, but every pattern's cache is rebuilt first (an array's seed before the array), for
    // callers whose patterns may have moved since their last refresh.
    static void UpdateCacheEx(const PatLoopListPtr& loops);
    static void UpdateCacheEx(const IPatLoopPtr& loop);

    // --- Nesting ---------------------------------------------------------------------------------------
    // The nesting tree of the loops: the top level holds the loops no closed loop encloses, each item's
    // sub-list the loops directly inside it. Every loop occurs once; the loops are not changed. The loop
    // caches must be current. Open loops enclose nothing and are placed inside a closed loop by their boxes
    // alone.
    //
    // The loops are inserted in list order. At each level a new loop first gathers, in the level's order,
    // every item it encloses (with their sub-trees); only when it gathers none does it go down into the
    // first item of the level that encloses it; otherwise it is appended to the level. So of two loops that
    // enclose each other (equal outlines) the later one becomes the container. Candidates are found by box,
    // so the work grows with the loops whose boxes meet, not with the square of the count.
    //
    // With a progress meter, it reports the loops inserted and stops early when cancelled: the tree then
    // holds the loops inserted so far.
    static LoopTopItemListPtr CalcLoopTopStruct(const PatLoopListPtr& loops,
                                                ProgressMeter* progress = nullptr);

    // --- Upkeep on pattern edits (LoopProcessor_Upkeep.cpp) -------------------------------------------
    // Keep the loops in step with single pattern edits without rebuilding them. Loop caches go stale; the
    // Ex forms refresh them and the boundary mark, the plain forms leave that to the caller. Open/closed
    // is always judged with the loop model's own 1e-4.
    //
    // Puts a new pattern into a loop: a standard shape or an array gets a loop of its own; a line or arc
    // joins the one open polygon loop whose free end it touches within tolerance. When it touches none, or
    // several, those loops and the pattern are chained afresh (so a bridge merges two open loops and a lone
    // pattern starts a new one); the new loops go to the end of the list.
    static void AddPatToLoopList(const PatLoopListPtr& loops, const IPatternPtr& pattern, double tolerance);
    static void AddPatToLoopListEx(const PatLoopListPtr& loops, const IPatternPtr& pattern, double tolerance);
    // Takes a pattern out of its loop: the loop of a standard shape or an array goes; a closed polygon loop
    // opens where the pattern was (running on from the pattern's successor round to its predecessor); an
    // open one loses an end, or falls apart into the pieces on either side, rebuilt at the end of the list.
    // A loop left without patterns goes. Nothing happens for a pattern in no loop.
    static void DelPatFromLoopList(const PatLoopListPtr& loops, const IPatternPtr& pattern, double tolerance);
    static void DelPatFromLoopListEx(const PatLoopListPtr& loops, const IPatternPtr& pattern,
                                     double tolerance);
    // Re-links patterns that were changed (moved, reshaped). Closed loops made only of changed patterns
    // moved as a whole and keep their structure; their patterns are removed from `changed` (the caller's
    // list is changed). Every other changed pattern is deleted and added again with tolerance 1e-4. Caches
    // and the boundary mark are refreshed.
    static void ChangePatInLoopList(const PatLoopListPtr& loops, const PatternListPtr& changed);
    // Rotates the loop's nodes so that pattern's node comes first, keeping the cyclic order. Nothing
    // changes when it is first already or not in the loop.
    static void AdjustToHead(const IPatLoopPtr& loop, const IPatternPtr& pattern);
    // Drops from every polygon loop, keeping order, the nodes whose pattern's cached box is at most size
    // wide and high; other loops and the caches are left alone.
    static void RemoveTinyLoopNode(const PatLoopListPtr& loops, double size);
    // The same, then refills patterns with what the loops still use, loop by loop, followed by the seeds of
    // arrays not already among them: a pattern that belonged to no loop is dropped as well.
    static void RemoveTinyLoopNode(const PatLoopListPtr& loops, const PatternListPtr& patterns, double size);
};

}  // namespace Norvane
