#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternBase.h"

namespace Norvane {

// What the four arrays share: the link to the seed, the making of copies, positions (which index the
// first copy's outline), smoothness (the seed's) and offsetting through the seed.
//
// The base point is where the first copy's base point lies (line and grid arrays) or the centre of the
// arc or circle the copies stand on; the base vector is the line array's step or the start direction of
// the arc and circle arrays. Every copy is a pure translation of the seed: copies keep its orientation.
class GF_API ArrayPatBase : public PatternBase, public IArrayPattern {
public:
    ArrayPatBase() = default;
    explicit ArrayPatBase(DataID id) : PatternBase(id) {}
    // Takes over relations that already exist (an array rebuilt around its seed).
    explicit ArrayPatBase(const PatRelationListPtr& relations);

    IPatternPtr GetControlPat() const override;
    void SetControlPat(const IPatternPtr& pat) override;
    IPatternPtr GetFirstInst() const override;
    int OffsetArrayPat(int direction, double distance) override;

    int IsStdPat() const override;
    int IsArrayPat() const override;
    int IsSmooth() const override;
    Point2D GetPointByPatPos(PatPosition pos) const override;
    PatPosition GetPatPosByPoint(Point2D point, PatPosition& second) const override;

protected:
    // A free copy of the seed carried by m: cloned, transformed, detached from this array and with its
    // cache filled. Empty when there is no seed.
    IPatternPtr MakeCopy(const Matrix2D& m) const;
    // The seed's base point; the origin when there is no seed.
    Point2D ControlBasePoint() const;
    // 1 when pat could be a copy of the seed: the seed's type code and the same shape.
    int IsCopyOfControl(const IPatternPtr& pat) const;
    // The seed's freshly computed outline, translated once per move and concatenated in move order.
    // Empty list when there is no seed.
    Geom2DListPtr RepeatControlGeometry(const std::vector<Vector2D>& moves) const;
    // The translations carrying the seed onto the copies of a polar array centred on the base point:
    // copy i stands at angle startAngle + i * stepAngle, radius away from the centre.
    std::vector<Vector2D> PolarMoves(double radius, double startAngle, double stepAngle, int count) const;
    // Snap points of a polar array: the centre, the first place, then the first place turned about the
    // centre by each of the given angles.
    void AddPolarSnapPoints(Point2DList& points, double radius, double startAngle,
                            const std::vector<double>& turns) const;

    static Matrix2D Translation(const Vector2D& v);
    // The matrices moves[i] - moves[0] for i >= 1: the copies after the first, relative to the first.
    static RepeatDataPtr RepeatRelativeToFirst(const std::vector<Vector2D>& moves);
};

using ArrayPatBasePtr = boost::shared_ptr<ArrayPatBase>;

}  // namespace Norvane
