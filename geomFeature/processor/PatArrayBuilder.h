#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Finds standard shapes that repeat in a regular layout and replaces each such set by one array pattern:
// axis-parallel blocks by a PatGridPattern, rows at any angle by a PatLinePattern, runs along an arc by a
// PatArcPattern and closed rings by a PatCirclePattern. The counterpart of exploding an array.
//
// What is guaranteed:
//  - every pattern taken into an array has the seed's type and IsSameShape(seed), and its base point lies
//    within kArrayPlaceTol (inclusive) of one copy's place: exploding the array gives back every absorbed
//    pattern (to that tolerance) and nothing else;
//  - an array has at least three copies; its seed is one of the absorbed patterns, stays in the pattern list
//    as the array's controlled pattern, and sits where its own copy stands;
//  - the result depends on the patterns, not on their order in the list.
//
// How sets are found (all spacings compared with kArrayPlaceTol unless a seed test says otherwise):
//  - Shapes are grouped by type and IsSameShape, taking the groups in order of type, size and place; each
//    group is ordered by base point (x, then y for x within 1e-9). A group of two or fewer is left alone.
//  - Grid pass: from each pattern A in that order, the nearest pattern straight above A (dx within the
//    tolerance) gives the row spacing and the nearest straight to its right the column spacing. Columns are
//    grown upwards at those places, column 0 from A; a column joins only with column 0's copy count. The
//    block needs two or more columns and a seed: column 0's first three copies pass the row seed test, or,
//    with two rows only, the first three copies of the bottom row do (so no 2x2 block is a grid: bolt circles
//    of eight and twelve holes contain such blocks). A block with a hole missing is taken in parts: the
//    columns up to the gap now, the rest from later starts.
//  - Row pass: every pattern after A among A's kArrayNeighbourCount nearest gives a step; A starts a row
//    when no pattern stands one step before it, and the row runs on while patterns stand at A + k * step.
//    Rows of three or more whose first three pass the row seed test compete: the most copies win, then the
//    shorter step, then the earlier start, then the smaller angle; a row that lost copies to a winner
//    competes again with each remaining run of three or more.
//  - Arc pass: every pattern M and two of its nearest neighbours B, C with |MB| and |MC| equal (arc seed
//    test) give the arc through B, M and C; it runs on at both ends in steps of the angle B-M. An arc whose
//    next place is its first copy closes the ring and becomes a PatCirclePattern; an arc that does not close
//    needs four copies (three patterns with two equal distances, as two holes placed symmetrically about a
//    third or an L of a square lattice, are no arc). Arcs compete as rows do (most copies, then closed rings,
//    then the smaller radius, then the earlier first copy). Last, three equal patterns at the corners of an
//    equilateral triangle (which the arc seed test cannot see) become a ring of three.
// A class of static members; no state.
class GF_API PatArrayBuilder {
public:
    PatArrayBuilder() = delete;

    // Recognises arrays among the standard shapes of patterns (skipping seeds of existing arrays) and
    // updates both lists: absorbed patterns other than the seeds leave patterns, the loops of all absorbed
    // patterns leave loops (the last loop moving into each freed place), the new arrays are appended to
    // patterns and one ArrayPatLoop per array (a node on the array, follow 1) to loops. The new arrays and
    // loops have their caches filled.
    static void GridPat(const PatternListPtr& patterns, const PatLoopListPtr& loops);

private:
    // The next same-shape group taken out of work: the first pattern of work and every later one of its type
    // that it calls IsSameShape, in list order; they leave work. Empty when work holds two or fewer. work is
    // in GridPat's order (by type, then by size key), so the search stops where the key leaves the range
    // IsSameShape allows.
    static PatternListPtr GetSameShapePat(const PatternListPtr& work);
    // A new list of the group ordered by base point: smaller x first, and for x within 1e-9 of each other
    // (strict) smaller y first.
    static PatternListPtr SortSameShpPat(const PatternListPtr& group);
    // Runs the grid, row and arc passes over the sorted group, appending the arrays made to arrays and the
    // patterns used (seeds included) to absorbed.
    static void ProcessSameShpPat(const PatternListPtr& group, const PatternListPtr& arrays,
                                  const PatternListPtr& absorbed);
};

}  // namespace Norvane
