#pragma once

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/processor/LoopOffsetReport.h"
#include "geomFeature/processor/PatIDPairList.h"

namespace Norvane {

class PatLoopList;
class PolyPatLoop;
class ProgressMeter;
class LoopTopItem;
class LoopTopItemList;
class Point2DList;
class IntegerList;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;
using PolyPatLoopPtr = boost::shared_ptr<PolyPatLoop>;
using Point2DListPtr = boost::shared_ptr<Point2DList>;
using IntegerListPtr = boost::shared_ptr<IntegerList>;
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
    // The same with a loop counted open when IsOpenPath answers 1 at openTol instead of the fixed 1e-4
    // (an import that closes contours at its own tolerance).
    static LoopTopItemListPtr CalcLoopTopStruct(const PatLoopListPtr& loops, double openTol,
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

    // --- Loop optimisation (LoopProcessor_Optimize.cpp, _ArcFit.cpp, _Overlap.cpp) ---------------------
    // Rewrite polygon loops with fewer, larger pieces. Each works on the segments SeparateLoop cuts the
    // loop into and never crosses from one segment into the next, so the loop keeps its node order, its
    // start point and its closedness. A replaced run becomes a NEW pattern (layer and colour of the run's
    // first piece, follow flag 1, cache filled); patterns that are not replaced keep their objects, and no
    // pattern object the loop held before is changed. The pattern list is not touched: the list forms below
    // bring it in line. The loop's cache is refreshed.
    //
    // Runs of short lines become arcs or single lines. A run of kArcFitMinLines or more lines is replaced
    // by one arc, and a run of two or more by one line, only when every point of the run lies within
    // tolerance (inclusive) of the replacement, the replacement runs through the run's first and last
    // points, and the run advances along it without turning back; each segment is covered greedily from its
    // start with the longest run that qualifies. A closed loop that is one segment of lines is first tried
    // as one whole circle (a single arc of sweep +-2pi starting at the loop's start point).
    static void OptimizeToArc(const PolyPatLoopPtr& loop, double tolerance);
    // Collapses runs of lines that keep their direction: within a segment a line is absorbed into the
    // current line when, seen from the current line's start S, its end lies in nearly the direction of the
    // current line's first absorbed end (squared distance of the unit vectors at most tolerance: a bound on
    // direction, not on distance) and the joint bends by at most a quarter turn. The node right after the
    // start of each segment is measured against itself, so it joins whenever the joint allows. When a node
    // is kept it starts the next current line, and S moves to its start.
    static void OptimizeToLine(const PolyPatLoopPtr& loop, double tolerance);
    // Merges neighbouring lines of a segment whose directions of travel agree within kCoLineAngleTol into one
    // line. The junction between the last and the first node of a closed loop is left alone (the loop keeps
    // its start).
    static void MergeCoLineNode(const PolyPatLoopPtr& loop);
    // The same over every polygon loop of loops; patterns is then refilled with what the loops use, loop by
    // loop, followed by the seeds of arrays that no loop brought in. The line form runs OptimizeToLine and
    // MergeCoLineNode; the arc form runs OptimizeToArc with arcTolerance (a distance), then OptimizeToLine
    // with tolerance, then MergeCoLineNode, as the optimisation task does with arcs first.
    static void OptimizeToLine(const PatLoopListPtr& loops, const PatternListPtr& patterns, double tolerance);
    static void OptimizeToArc(const PatLoopListPtr& loops, const PatternListPtr& patterns, double tolerance,
                              double arcTolerance);
    // True when the loops' cached boxes agree in all four coordinates, their cached outlines in total length
    // (both within kOverlapLoopTol, inclusive) and in element count. The caches must be current.
    static bool TwoLoopsOverlapped(const IPatLoop* a, const IPatLoop* b);
    // Removes every loop that TwoLoopsOverlapped pairs with an earlier loop of the list, so the first loop of
    // each group of duplicates stays; the others keep their order. Only loops of equal element count and
    // nearly equal box corners are compared, so the cost grows with the number of loops, not its square.
    static void DeleteOverlappedLoops(const PatLoopListPtr& loops);

    // --- Corner and percent-point queries (LoopProcessor_Corner.cpp) ----------------------------------
    // Every loop kind is answered on its polygon form (LoopBuilder::BuildPolyLoopByPatLoop); the corners are
    // the entry points of its nodes, matched within Point2DList's default tolerance.
    //
    // 1 when point is a corner of the loop, and point is then moved onto the exact corner; 0 otherwise, and
    // always for a loop of one node (a single closed pattern has no corner).
    static int PtAtLoopCorner(const IPatLoopPtr& loop, Point2D& point);
    // The loop's inside angle at the corner point, in [0, 2pi); -1 when point is no corner.
    static double GetAngAtLoopCorner(const IPatLoopPtr& loop, Point2D point);
    // The pattern on the other side of the corner point from pattern patID, and where the corner lies on it.
    // Polygon loops: the other of the two patterns meeting there (outputs left alone when patID is neither
    // or point is no corner). Loops of one pattern: the same pattern, and the corner's other position on it
    // (a closed outline reaches its start point at both ends) when position is the one found first.
    static void GetNextCornerGeomPos(const IPatLoopPtr& loop, Point2D point, DataID patID,
                                     PatPosition position, DataID& outPatID, PatPosition& outPosition);
    // The loop point met first from one of eight compass directions (0, pi/4, ..., 7pi/4, matched exactly):
    // a ray from outside the loop's box, on that side, pointing back across the box. When the ray misses, the
    // loop point nearest to its origin. An array loop answers on its seed's outline, with node index 0. Any
    // other direction shoots from the origin along +x.
    static void GetFst8PercentPt(const IPatLoopPtr& loop, double angle, Point2D& point, int& nodeIndex);
    // The loop points met first from sixteen compass directions, k * pi/8 for k = 0..15 in that order, found
    // as GetFst8PercentPt finds them (the odd directions shoot from the circle through the corners of its
    // square), are appended to points/nodes, a point met from several directions only once. Every one of
    // them lying within snapDistance (inclusive) of a real corner of the loop (PtAtLoopCorner, with an
    // inside angle not within kSmoothJointAngleTol of pi) adds that corner and the index of the node that
    // starts there to corners/cornerNodes, each corner once. Meant for placing lead-ins: the extreme points
    // of a contour and the corners next to them. The lists are appended to, not cleared first.
    static void Get16PercentPt(const IPatLoopPtr& loop, const Point2DListPtr& points,
                               const IntegerListPtr& nodes, const Point2DListPtr& corners,
                               const IntegerListPtr& cornerNodes, double snapDistance);
    // The polygon loops of loops that are open by the loop model's own test but whose two ends lie within
    // tolerance (inclusive) of each other: contours that were meant to close. A new list, in list order.
    static PatLoopListPtr FindCloseInOpenLoop(const PatLoopListPtr& loops, double tolerance);
    // Layer name / colour index of the pattern of node 0; "" and -1 for a loop without nodes.
    static std::wstring GetLayerName_of_loop(const IPatLoop* loop);
    static int GetColorIndex_of_loop(const IPatLoop* loop);

    // --- Offsetting (LoopProcessor_Offset.cpp) ------------------------------------------------------------
    // Grows (side 0) or shrinks (any other side) the region a closed loop encloses by distance, whatever
    // the loop's direction of travel. A standard-shape loop goes through IStdPattern::OffsetStdPat and an
    // array loop through IArrayPattern::OffsetArrayPat on node 0's pattern (same object, loop marked
    // modified, cache rebuilt); a polygon loop through PolyLoopOffsetter, which puts new line and arc
    // patterns in its nodes; the old ones are then removed from patterns (by identifier), the new ones
    // appended, the list marked modified, the loop closed exactly (ClampClosePolyLoop) and its cache
    // rebuilt. Answers 1 on success; 0 when the offset cannot be made, leaving loop and list untouched.
    // Removing by identifier scans the list for each loop: to offset many loops of a large part, use the
    // ID-pair form and rebuild the list once.
    static int OffsetPolyLoop(const PatternListPtr& patterns, const IPatLoopPtr& loop, int side,
                              double distance);
    // The same, also saying why it failed (LoopOffsetFailure::ShapeRefuses for standard shapes and arrays).
    static int OffsetPolyLoop(const PatternListPtr& patterns, const IPatLoopPtr& loop, int side, double distance,
                              LoopOffsetReport& report);
    // Polygon loops only (others answer 0): runs the engine, which fills pairs with (new pattern ID, original
    // pattern ID, or 0 for an element made at a corner) per new node, then ClampClosePolyLoop and the cache.
    // The pattern list is the caller's business.
    static int OffsetPolyLoop(const IPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs);
    static int OffsetPolyLoop(const IPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs,
                              LoopOffsetReport& report);
    // Closes a polygon loop exactly: each line or arc is made to start where the one before it ends, and
    // the last to end at the loop's start point (read before anything moves). The first node keeps its
    // start; nodes of other pattern types are skipped. A loop of one node is left alone.
    static void ClampClosePolyLoop(const PolyPatLoopPtr& loop);
    // The same walk for a loop of two or more nodes, but the last node is tied to the start only when the
    // loop is closed within tolerance (judged before the walk): an open chain keeps its free ends.
    static void ClampPolygonLoop(const PolyPatLoopPtr& loop, double tolerance);

private:
    // Cuts a polygon loop into runs of consecutive nodes: every arc (and any other non-line node) alone;
    // lines together while each turns by at most kSegmentMaxTurn from the line before it, and, when
    // signChange is set, turns the same way as the turn before it, and, when lengthRatio is set, is at most
    // kSegmentMaxLengthRatio times longer or shorter than the line before it.
    static std::vector<PatLoopNodeListPtr> SeparateLoop(const PolyPatLoopPtr& loop, int signChange,
                                                        int lengthRatio);

    // Inserts item into the tree below level: first it gathers the items of level it encloses; only when
    // it gathers none is it passed down into the first item of level that encloses it.
    static void AddLoopToTop(const LoopTopItemListPtr& level, const LoopTopItemPtr& item);
};

}  // namespace Norvane
