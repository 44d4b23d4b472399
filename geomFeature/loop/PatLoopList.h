#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/host/appframe/SubjectBase.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/loop/LoopType.h"

namespace Norvane {

class PatLoopList;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// All loops of a part, in the order they were built or loaded. Every search walks that order and the first
// match wins. The list also decides which loop is the part's boundary (UpdateBoundaryLoop).
// Entries are never empty pointers.
//
// Box queries read each loop's cached rectangle and geometry queries its cached outline, so the caches must
// be current. Operations change the list silently; whoever changes it notifies its observers.
class GF_API PatLoopList : public std::vector<IPatLoopPtr>, public DataBase, public SubjectBase {
public:
    PatLoopList() = default;
    ~PatLoopList() override = default;

    // --- Look-ups ------------------------------------------------------------------------------------
    // The first loop with that identifier, or empty.
    IPatLoopPtr GetLoopByID(DataID id) const;
    // Index of the first loop with that identifier, or -1.
    int GetPatLoopIndex(DataID id) const;
    // The first loop that has a node on pattern (by identifier), or empty.
    IPatLoopPtr FindLoopByPat(const IPatternPtr& pattern) const;
    // Index of the first loop whose boundary flag is set, or -1; GetBoundaryLoopEx answers that loop.
    int GetBoundaryLoop() const;
    IPatLoopPtr GetBoundaryLoopEx() const;

    // --- Filters (new lists sharing the loops, in list order) -----------------------------------------
    PatLoopListPtr GetPatLoopByType(tagLoopType type) const;
    // The loops every pattern of which is in patterns.
    PatLoopListPtr GetLoopWithinPats(const PatternListPtr& patterns) const;
    // The loops whose cached box lies inside rect (closed: touching the edge from inside counts).
    PatLoopListPtr GetPatLoopsInRect(const Rect2D& rect) const;
    // The open polygon loops pattern could be joined to at one of their ends within tolerance.
    PatLoopListPtr GetOpenLoopLinkToPat(const IPatternPtr& pattern, double tolerance) const;

    // --- Collections ----------------------------------------------------------------------------------
    // A new pattern list with every loop's patterns, loop by loop (an array loop gives array and seed).
    PatternListPtr GetPatList() const;
    // A new list with every loop's cached outline elements (shared, not copied), loop by loop.
    Geom2DListPtr CalcBaseGeomList() const;
    // Union of the loops' cached boxes; the default box (0, 0, 0, 0) for an empty list.
    Rect2D GetRectBox() const;
    // The lower-left corner of GetRectBox as a vector.
    Vector2D GetVectToOrigin() const;

    // The pattern nearest to point, searched only among the loops whose box contains point and the one loop
    // with the nearest box among the others. Of equally near patterns the last measured wins. Stores the
    // distance into distance; empty pattern and -1.0 when there is nothing to measure.
    IPatternPtr GetClosestPat(const Point2D& point, double& distance) const;

    // --- Removal --------------------------------------------------------------------------------------
    // Remove the first loop with that identifier (with loop's identifier), keeping the others' order.
    void DeleteLoop(DataID id);
    void DeleteLoop(const IPatLoopPtr& loop);
    // Remove the first loop with loop's identifier by moving the last loop into its place: cheap, but the
    // order is not kept. DeleteLoopList does the same for every loop of loops, in that list's order.
    void DeleteLoopEx(const IPatLoopPtr& loop);
    void DeleteLoopList(const PatLoopListPtr& loops);
    // Remove every open loop (only polygon loops can be open), keeping the others' order.
    void DeleteOpenLoops();
    // Remove, keeping the others' order, every loop whose cached box is at most size wide and high. The
    // second form also removes the patterns of the removed loops (an array loop's seed included) from
    // patterns.
    void RemoveTinyLoops(double size);
    void RemoveTinyLoops(const PatternListPtr& patterns, double size);

    // --- Boundary -------------------------------------------------------------------------------------
    // Clears every boundary flag, then marks the loop with the strictly largest box area (ties: the
    // earlier) as the boundary when it is closed, no array loop, and its box encloses every other loop's
    // box. Answers its index, or -1 (every flag cleared) when no loop qualifies.
    int UpdateBoundaryLoop();

    // --- IData ----------------------------------------------------------------------------------------
    // 1 when the list's own flag is set or any loop reports a change.
    int IsModified() const override;
    // A new list (new identifier) of clones of every loop, in order; the patterns are shared.
    IDataPtr Clone() const override;
};

}  // namespace Norvane
