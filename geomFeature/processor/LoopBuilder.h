#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/processor/LoopConnectType.h"
#include "geomFeature/processor/PatConnectType.h"

namespace Norvane {

class PatternList;
class ProgressMeter;
class PatLoopList;
class PolyPatLoop;
class StdPatLoop;
class ArrayPatLoop;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;
using PolyPatLoopPtr = boost::shared_ptr<PolyPatLoop>;
using StdPatLoopPtr = boost::shared_ptr<StdPatLoop>;
using ArrayPatLoopPtr = boost::shared_ptr<ArrayPatLoop>;

// Turns patterns into loops: every standard shape and every array becomes a loop of its own, loose lines
// and arcs are chained end to end into polygon loops; any loop can be converted into an equivalent polygon
// loop, and open polygon loops can be joined into longer chains. The joining tolerance is always the
// caller's. Static operations only; no state.
//
// Joints are measured with Euclidean distance and are strict: two ends exactly `tolerance` apart do NOT
// meet. Chains are never tested for being closed while they grow; whether a result is open is for
// IsOpenPath to say afterwards.
class GF_API LoopBuilder {
public:
    LoopBuilder() = delete;

    // The loops of a whole part: first, in pattern order, a StdPatLoop for every standard shape and an
    // ArrayPatLoop for every array (both on one node with follow flag 1); then the polygon loops that
    // BuildPolyPatLoops chains from the remaining patterns. The seed of an array gets no loop: the array's
    // loop stands for it. An empty list gives an empty result.
    static PatLoopListPtr BuildPatLoops(const PatternListPtr& patterns, double tolerance,
                                        ProgressMeter* progress = nullptr);

    // Chains lines and arcs into polygon loops. Each chain starts at the first free pattern (run in its own
    // sense) and grows at either end while some free pattern touches an end within tolerance: a pattern
    // whose joint is exact (distance <= 1e-9) is taken at once, in list order; otherwise the nearest one
    // (ties: the earlier in the list). Every pattern ends in exactly one loop; a pattern that touches
    // nothing is a loop of one node.
    //
    // The list is reordered in place: afterwards it holds the patterns in the order they were placed, chain
    // after chain, so each chain's patterns form one run of the list. Meant for a non-empty list; an empty
    // one gives an empty result. The candidates of each joint are found through an index of the end points,
    // so the work grows with the number of patterns, not its square.
    //
    // With a progress meter, it reports the patterns placed and stops early when cancelled: the result then
    // holds the chains finished so far, and the list is a reordering of the given one.
    static PatLoopListPtr BuildPolyPatLoops(const PatternListPtr& patterns, double tolerance,
                                            ProgressMeter* progress = nullptr);

    // Joins open polygon loops end to end into longer chains. A chain starts with the nodes of the first
    // free loop and takes the first (in list order, not the nearest) free loop whose start or end meets one
    // of its ends within tolerance; a loop that has to run backwards is reversed in place first. The new
    // loops share their node objects with the given loops, which are reversed and reordered: the caller
    // treats the given list as consumed. A loop of another kind is never joined and is passed on as it is.
    static PatLoopListPtr BuildClosedLoopByOpenLoop(const PatLoopListPtr& openLoops, double tolerance);

    // A polygon loop tracing a standard shape in its own (counter-clockwise) sense: the shape's outline
    // elements as new line and arc patterns (belonging to no pattern list), all with follow flag 1, cache
    // filled. The shape is not changed.
    static PolyPatLoopPtr BuildPolyLoopByStdPat(const IPatternPtr& pattern);
    // The shape of the loop's node as a polygon loop, reversed when the node runs against the shape.
    static PolyPatLoopPtr BuildPolyLoopByStdLoop(const StdPatLoopPtr& loop);
    // The same for the array's seed, i.e. the outline of the array's first copy before placement. Empty
    // when the array has no seed.
    static PolyPatLoopPtr BuildPolyLoopByArrayLoop(const ArrayPatLoopPtr& loop);
    // A polygon loop for any loop kind; a polygon loop is returned itself (the same object, not a copy).
    static PolyPatLoopPtr BuildPolyLoopByPatLoop(const IPatLoopPtr& loop);

    // One polygon loop from patterns already in chain order: the first runs in its own sense, each later
    // one is put at the chain end (front or back) nearest to one of its ends, with no tolerance. Two lines
    // that retrace one segment (both corners shared within 1e-4 in x and y) always chain as "there and
    // back": the second line is appended after the first. An empty list gives an empty loop.
    static PolyPatLoopPtr BuildPolyLoopByPolygon(const PatternListPtr& patterns);

private:
    // Where pattern meets the chain from chainStart to chainEnd. Of the four end distances, taken in the
    // order S-CE, E-CE, S-CS, E-CS, the smallest wins (ties: the earlier) and is stored into distance even
    // when it is not within tolerance; the result is CONNECT_NONE unless that distance is strictly below
    // tolerance.
    static tagPatConnectType GetPatConnectInfo(const Point2D& chainStart, const Point2D& chainEnd,
                                               const IPatternPtr& pattern, double tolerance,
                                               double& distance);
    // The same with the other loop's start and end point in place of the pattern's.
    static tagLoopConnectType GetLoopConnectInfo(const Point2D& chainStart, const Point2D& chainEnd,
                                                 const PolyPatLoopPtr& loop, double tolerance,
                                                 double& distance);
    // The nearest end pair of a piece running from start to end, in the order above; the distance of the
    // winner is stored into distance.
    static tagPatConnectType NearestEndPair(const Point2D& chainStart, const Point2D& chainEnd,
                                            const Point2D& start, const Point2D& end, double& distance);
};

}  // namespace Norvane
