#include "geomFeature/pattern/ArrayPatBase.h"

#include <cmath>
#include <cstddef>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/pattern/IStdPattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {

ArrayPatBase::ArrayPatBase(const PatRelationListPtr& relations) {
    if (relations) {
        m_relations = relations;
    }
}

// The target of the first seed relation. A relation whose seed could not be found when loading holds
// an empty target, which answers "no seed" as well.
IPatternPtr ArrayPatBase::GetControlPat() const {
    const PatRelationListPtr toSeed = GetRelationByType(PAT_RELATION_TO_SEED);
    if (toSeed->GetCount() > 0) {
        return toSeed->GetPatRelationByIndex(0)->GetTargetPat();
    }
    return IPatternPtr();
}

// Replaces the first seed relation (if any) by one to pat. An empty pat only removes the old link: a
// relation without a target would be stored as a link to nothing.
void ArrayPatBase::SetControlPat(const IPatternPtr& pat) {
    const PatRelationListPtr toSeed = GetRelationByType(PAT_RELATION_TO_SEED);
    if (toSeed->GetCount() > 0) {
        m_relations->RemovePatRelation(toSeed->GetPatRelationByIndex(0));
    }
    if (pat) {
        m_relations->AddPatRelation(boost::make_shared<PatRelation>(GetID(), pat, PAT_RELATION_TO_SEED));
    }
}

IPatternPtr ArrayPatBase::GetFirstInst() const {
    return MakeCopy(GetFirstInstMat());
}

// The copies are translations of the first copy by amounts that depend on the array's own parameters
// only, never on the seed. So when growing the seed moves its centre relative to its base point (a
// rectangle grows about its centre while its base point is a corner), every copy's centre moves by the
// same amount, and shifting the base point back by that amount puts all of them where they were. For
// the arc and circle arrays this moves the centre of the array, not the centres of the copies.
int ArrayPatBase::OffsetArrayPat(int direction, double distance) {
    const IStdPatternPtr seed = boost::dynamic_pointer_cast<IStdPattern>(GetControlPat());
    if (!seed) {
        return 0;
    }
    const IStdPatternPtr before = boost::dynamic_pointer_cast<IStdPattern>(GetFirstInst());
    if (!before) {
        return 0;
    }
    const Point2D centreBefore = before->GetSymmetryPt();
    const int done = seed->OffsetStdPat(direction, distance);
    if (done == 0) {
        return 0;
    }
    const IStdPatternPtr after = boost::dynamic_pointer_cast<IStdPattern>(GetFirstInst());
    if (!after) {
        return done;
    }
    const Vector2D drift = after->GetSymmetryPt() - centreBefore;
    m_basePoint = m_basePoint - drift;
    return done;
}

int ArrayPatBase::IsStdPat() const {
    return 0;
}

int ArrayPatBase::IsArrayPat() const {
    return 1;
}

// An array is as smooth as the shape it repeats; without a seed it keeps the plain pattern's answer.
int ArrayPatBase::IsSmooth() const {
    const IPatternPtr seed = GetControlPat();
    return seed ? seed->IsSmooth() : PatternBase::IsSmooth();
}

// Positions on an array name elements of the first copy's outline, not of the whole array.
Point2D ArrayPatBase::GetPointByPatPos(PatPosition pos) const {
    const IPatternPtr first = GetFirstInst();
    return first ? first->GetPointByPatPos(pos) : Point2D(0.0, 0.0);
}

PatPosition ArrayPatBase::GetPatPosByPoint(Point2D point, PatPosition& second) const {
    const IPatternPtr first = GetFirstInst();
    return first ? first->GetPatPosByPoint(point, second) : PatPosition();
}

IPatternPtr ArrayPatBase::MakeCopy(const Matrix2D& m) const {
    const IPatternPtr seed = GetControlPat();
    if (!seed) {
        return IPatternPtr();
    }
    const IPatternPtr copy = boost::dynamic_pointer_cast<IPattern>(seed->Clone());
    if (!copy) {
        return IPatternPtr();
    }
    copy->Transform(m);
    copy->SetBeControlPat(IPatternPtr());
    copy->UpdateCache();
    return copy;
}

Point2D ArrayPatBase::ControlBasePoint() const {
    const IPatternPtr seed = GetControlPat();
    return seed ? seed->GetBasePoint() : Point2D(0.0, 0.0);
}

int ArrayPatBase::IsCopyOfControl(const IPatternPtr& pat) const {
    const IPatternPtr seed = GetControlPat();
    if (!seed || !pat) {
        return 0;
    }
    if (pat->GetPatternType() != seed->GetPatternType()) {
        return 0;
    }
    return seed->IsSameShape(pat) == 1 ? 1 : 0;
}

Geom2DListPtr ArrayPatBase::RepeatControlGeometry(const std::vector<Vector2D>& moves) const {
    auto result = boost::make_shared<Geom2DList>();
    const IPatternPtr seed = GetControlPat();
    if (!seed) {
        return result;
    }
    const Geom2DListPtr seedGeoms = seed->CalcBaseGeomList();
    if (!seedGeoms) {
        return result;
    }
    result->reserve(seedGeoms->size() * moves.size());
    for (const Vector2D& move : moves) {
        const Geom2DListPtr copy = seedGeoms->Clone();
        copy->Transform(Translation(move));
        result->Append(*copy);
    }
    return result;
}

std::vector<Vector2D> ArrayPatBase::PolarMoves(double radius, double startAngle, double stepAngle,
                                               int count) const {
    const Vector2D toCentre = m_basePoint - ControlBasePoint();
    std::vector<Vector2D> moves;
    for (int i = 0; i < count; ++i) {
        const double a = startAngle + i * stepAngle;
        moves.push_back(toCentre + Vector2D(radius * std::cos(a), radius * std::sin(a)));
    }
    return moves;
}

void ArrayPatBase::AddPolarSnapPoints(Point2DList& points, double radius, double startAngle,
                                      const std::vector<double>& turns) const {
    points.push_back(m_basePoint);
    const Point2D firstPlace =
        m_basePoint + Vector2D(radius * std::cos(startAngle), radius * std::sin(startAngle));
    points.push_back(firstPlace);
    for (double turn : turns) {
        Point2D place = firstPlace;
        place.RotateBasedPt(m_basePoint, turn);
        points.push_back(place);
    }
}

Matrix2D ArrayPatBase::Translation(const Vector2D& v) {
    Matrix2D m;
    m.SetTransfer(v);
    return m;
}

RepeatDataPtr ArrayPatBase::RepeatRelativeToFirst(const std::vector<Vector2D>& moves) {
    std::vector<Matrix2D> matrices;
    for (std::size_t i = 1; i < moves.size(); ++i) {
        matrices.push_back(Translation(moves[i] - moves[0]));
    }
    auto data = boost::make_shared<RepeatData>();
    data->SetMatrix(matrices);
    return data;
}

}  // namespace Norvane
