#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/loop/PatLoopBase.h"

namespace Norvane {

class PolyPatLoop;
using PolyPatLoopPtr = boost::shared_ptr<PolyPatLoop>;

// The general loop: a chain of line and arc patterns joined end to end, closed or open. Node k's exit point
// is node k+1's entry point. A node is entered at its pattern's start point when its follow flag is non-zero,
// at its end point otherwise, and left at the other end. Whether the loop is closed is not stored; it is
// recomputed from the two ends with a tolerance (IsOpenPath).
//
// GetStartPt, GetEndPt, GetDirection and the corner queries expect at least one node.
class GF_API PolyPatLoop : public PatLoopBase {
public:
    // An empty loop with a new identifier, boundary flag 0.
    PolyPatLoop();
    ~PolyPatLoop() override = default;

    // A new loop (new identifier) over a clone of the node list: new nodes on the same pattern objects with
    // the same follow flags. The boundary flag is not carried over and the cache starts empty.
    IDataPtr Clone() const override;

    // --- Building the chain ---------------------------------------------------------------------------
    // A new node (pattern, follow) after the last node. Returns 1.
    int AppendPattern(const IPatternPtr& pattern, int follow);
    // A new node (pattern, follow) in front of the first node. Returns 1.
    int InsertPattern(const IPatternPtr& pattern, int follow);
    // Joins pattern to whichever end of the chain it touches (Manhattan distance strictly below tolerance),
    // trying pattern start at loop start, pattern end at loop start, pattern start at loop end, pattern end
    // at loop end, in that order. Returns 1 when joined, 0 when it touches neither end; an empty loop has no
    // end to touch and answers 0.
    int AddPattern(const IPatternPtr& pattern, double tolerance);
    // 1 when AddPattern with the same arguments would join pattern; changes nothing.
    int CanLinkWithPat(const IPatternPtr& pattern, double tolerance) const;
    // Removes the first node holding a pattern with pattern's identifier.
    void RemovePattern(const IPatternPtr& pattern);

    // --- Queries --------------------------------------------------------------------------------------
    // Entry point of the first node / exit point of the last node.
    Point2D GetStartPt() const;
    Point2D GetEndPt() const;
    // 1 when the ends lie farther apart than tolerance + 1e-9 (strict), else 0.
    int IsOpenPath(double tolerance) const override;
    // 1 when pattern is the first or the last node's pattern (by identifier); openness is not tested.
    int PatAtOpenLoopEnd(const IPatternPtr& pattern) const;
    // The pattern of the node after pattern's node; after the last node, the first node's pattern for a
    // closed loop and an empty pointer for an open one.
    IPatternPtr GetNextPat(const IPatternPtr& pattern);
    // A new list with the entry point of every node in node order (the flag does not change the result).
    Point2DListPtr GetCtrlPtList(int flag) const;
    // Identifiers of the two patterns meeting at connection point index: nodes index-1 and index of a closed
    // loop (index 0 pairs the last node with node 0), nodes index and index+1 of an open one. Returns 1; an
    // index that names no connection point answers 0 and leaves both identifiers alone.
    int GetTwoPatAtConPt(int index, DataID& firstId, DataID& secondId) const;
    // A new list with the cached base geometry (shared elements) of the two patterns meeting at the control
    // point equal to point, paired as GetTwoPatAtConPt pairs them. Empty when point is no control point.
    Geom2DListPtr GetTwoGeomAtConPt(Point2D point);
    // The end of the first pattern that touches the second (Manhattan distance below 1e-4, strict); the
    // first pattern's end point wins over its start point; (0, 0) when they do not touch or are unknown.
    Point2D GetPatCrossPt(DataID firstId, DataID secondId);
    // Angle in [0, 2*pi) between the patterns meeting at connection point index, measured on the loop's
    // inside (left of travel for a CCW loop, right of travel for a CW loop). Index 0 wraps to the last node.
    // An index that names no node answers -1.
    double GetTwoPatInsideAng(int index);
    // Angle in [0, 2*pi) between the patterns of nodes index-1 and index on the left of travel: pi for a
    // straight continuation, pi/2 after a quarter turn left, 3*pi/2 after a quarter turn right. No wrapping:
    // an index outside 1 .. node count - 1 answers -1.
    double GetTwoPatLeftAng(int index);

    // --- Direction ------------------------------------------------------------------------------------
    // Turning sense of the closed chain: DIR_CCW when its inside lies on the left of travel. It is read at
    // the leftmost control point from the chords of the pieces (arcs wider than a quarter turn cut in
    // quarters, a corner with no sense next to an arc read on a chain split in halves), so a contour with a
    // thin spike, sliver or crescent that folds the chords over can fool it. An empty loop answers DIR_CW.
    tagDirection GetDirection() override;
    // Reverses the node order and inverts every follow flag; the patterns are not touched.
    void ReverseDirection() override;
    // Unit vector of travel of the loop at pos on the pattern with that identifier (arcs read pos on their
    // cached outline); a zero vector when no node holds that pattern.
    Vector2D GetDirectionOnPt(DataID patternId, const PatPosition& pos) override;

    tagLoopType GetLoopType() const override { return LOOP_POLY; }

private:
    void SetLoopNodes(const PatLoopNodeListPtr& nodes) { m_nodes = nodes; }
    // The direction test on this chain; depth counts the split loops already made above it, so that a
    // chain that stays degenerate however finely it is split (all points coincident) cannot recurse forever.
    tagDirection DirectionAtDepth(int depth);
    // Temporary loops for the direction test: every node split in two (lines at the midpoint, arcs at half
    // sweep) / every arc node split in four quarter sweeps. The pieces never enter a pattern list.
    PolyPatLoopPtr SplitAllNodes() const;
    PolyPatLoopPtr SplitArcNodes() const;
    // Angle of the direction of travel through node nodeIndex at its entry (atEntry) or exit point.
    double TravelAngleAt(int nodeIndex, bool atEntry) const;
};

}  // namespace Norvane
