#include "geomFeature/pattern/PatArcPattern.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

Vector2D UnitAt(double angle) {
    return Vector2D(std::cos(angle), std::sin(angle));
}

// Where p lands when turned about centre by angle.
Point2D Turned(const Point2D& p, const Point2D& centre, double angle) {
    Point2D out;
    MathEx::RotatePoint(p.x, p.y, centre.x, centre.y, angle, out.x, out.y);
    return out;
}

}  // namespace

PatArcPattern::PatArcPattern(const Point2D& centre, double radius, double startAngle, double repeatAngle,
                             int repeatNum) {
    Init(centre, UnitAt(startAngle), radius, repeatAngle, repeatNum);
}

PatArcPattern::PatArcPattern(const Point2D& centre, const Vector2D& startVector, double radius,
                             double repeatAngle, int repeatNum) {
    Init(centre, startVector.GetUnit(), radius, repeatAngle, repeatNum);
}

PatArcPattern::PatArcPattern(const PatRelationListPtr& relations, const Point2D& centre, double radius,
                             double startAngle, double repeatAngle, int repeatNum)
    : ArrayPatBase(relations) {
    Init(centre, UnitAt(startAngle), radius, repeatAngle, repeatNum);
}

PatArcPattern::PatArcPattern(const PatRelationListPtr& relations, const Point2D& centre,
                             const Vector2D& startVector, double radius, double repeatAngle, int repeatNum)
    : ArrayPatBase(relations) {
    Init(centre, startVector.GetUnit(), radius, repeatAngle, repeatNum);
}

PatArcPattern::PatArcPattern(DataID id, const Point2D& centre, double radius, double startAngle,
                             double repeatAngle, int repeatNum)
    : ArrayPatBase(id) {
    Init(centre, UnitAt(startAngle), radius, repeatAngle, repeatNum);
}

PatArcPattern::PatArcPattern(DataID id, const Point2D& centre, const Vector2D& startVector, double radius,
                             double repeatAngle, int repeatNum)
    : ArrayPatBase(id) {
    Init(centre, startVector.GetUnit(), radius, repeatAngle, repeatNum);
}

void PatArcPattern::Init(const Point2D& centre, const Vector2D& startVector, double radius,
                         double repeatAngle, int repeatNum) {
    m_basePoint = centre;
    m_baseVector = startVector;
    m_radius = radius;
    m_repeatAngle = repeatAngle;
    m_repeatNum = repeatNum;
}

double PatArcPattern::GetRadius() const {
    return m_radius;
}

void PatArcPattern::SetRadius(double radius) {
    m_radius = radius;
}

double PatArcPattern::GetStartAngle() const {
    return m_baseVector.Angle();
}

void PatArcPattern::SetStartAngle(double angle) {
    m_baseVector = UnitAt(angle);
}

double PatArcPattern::GetRepeatAngle() const {
    return m_repeatAngle;
}

void PatArcPattern::SetRepeatAngle(double angle) {
    m_repeatAngle = angle;
}

int PatArcPattern::GetRepeatNum() const {
    return m_repeatNum;
}

void PatArcPattern::SetRepeatNum(int repeatNum) {
    m_repeatNum = repeatNum;
}

double PatArcPattern::GetMoveAngle() const {
    return m_repeatAngle * (m_repeatNum - 1);
}

void PatArcPattern::SetMoveAngle(double moveAngle) {
    if (m_repeatNum < 2) {  // one copy spans no sweep; there is no step to derive
        return;
    }
    m_repeatAngle = moveAngle / (m_repeatNum - 1);
}

IPatternPtr PatArcPattern::GetLastInst() const {
    const std::vector<Vector2D> moves =
        PolarMoves(m_radius, GetStartAngle(), m_repeatAngle, std::max(m_repeatNum, 1));
    return MakeCopy(Translation(moves.back()));
}

// The candidate must stand on the array's circle (within the copy tolerance of the radius), then at the
// place one step past the last copy or one step before the first; both places are found by turning the
// end copy's base point about the centre. Every comparison is inclusive. The far end is tried first, so
// on a circle closed but for one gap a candidate that fits both ends is appended.
int PatArcPattern::AddPattern(const IPatternPtr& pat, int& atEnd) {
    atEnd = 0;
    if (IsCopyOfControl(pat) == 0) {
        return 0;
    }
    const Point2D place = pat->GetBasePoint();
    if (std::fabs(place.DistanceTo(m_basePoint) - m_radius) > kArrayCopyMatchTol) {
        return 0;
    }
    const IPatternPtr last = GetLastInst();
    const IPatternPtr first = GetFirstInst();
    if (!last || !first) {
        return 0;
    }
    const Point2D beyondLast = Turned(last->GetBasePoint(), m_basePoint, m_repeatAngle);
    if (place.DistanceTo(beyondLast) <= kArrayCopyMatchTol) {
        ++m_repeatNum;
        atEnd = 1;
        return 1;
    }
    const Point2D beforeFirst = Turned(first->GetBasePoint(), m_basePoint, -m_repeatAngle);
    if (place.DistanceTo(beforeFirst) <= kArrayCopyMatchTol) {
        SetStartAngle(GetStartAngle() - m_repeatAngle);
        ++m_repeatNum;
        return 1;
    }
    return 0;
}

tagPatternType PatArcPattern::GetPatternType() const {
    return PAT_ARC_ARRAY;
}

Matrix2D PatArcPattern::GetFirstInstMat() const {
    return Translation(PolarMoves(m_radius, GetStartAngle(), m_repeatAngle, 1).front());
}

RepeatDataPtr PatArcPattern::GetRepeatData() const {
    return RepeatRelativeToFirst(PolarMoves(m_radius, GetStartAngle(), m_repeatAngle, m_repeatNum));
}

// The centre, the first place, the second place, the last place.
void PatArcPattern::GetSnapPoints(Point2DList& points) const {
    AddPolarSnapPoints(points, m_radius, GetStartAngle(), {m_repeatAngle, GetMoveAngle()});
}

Geom2DListPtr PatArcPattern::CalcBaseGeomList() const {
    return RepeatControlGeometry(PolarMoves(m_radius, GetStartAngle(), m_repeatAngle, m_repeatNum));
}

void PatArcPattern::UpdateFrom(const IPatternPtr& other) {
    const PatArcPatternPtr arc = boost::dynamic_pointer_cast<PatArcPattern>(other);
    if (!arc) {
        return;
    }
    m_basePoint = arc->m_basePoint;
    m_baseVector = arc->m_baseVector;
    m_radius = arc->m_radius;
    m_repeatAngle = arc->m_repeatAngle;
    m_repeatNum = arc->m_repeatNum;
}

void PatArcPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Item 12108 shows the sweep from the first copy to the last, as the arc pattern shows its sweep there;
// editing it spreads the same copies over the new sweep.
DataProperty PatArcPattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(
        DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResArcArrayTypeName)));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayRadius, m_radius));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayStartAngle, GetStartAngle() * kDegPerRad));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayMoveAngle, GetMoveAngle() * kDegPerRad));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayCount, m_repeatNum));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayRepeatAngle, m_repeatAngle * kDegPerRad));
    return property;
}

// Applies one edited value; a count below one copy and unknown items are ignored; the cache is left stale.
void PatArcPattern::UpdateProperty(DataPropItem& item) {
    switch (item.GetItemID()) {
        case kPropArrayBaseX:
            m_basePoint.x = item.GetDouble();
            break;
        case kPropArrayBaseY:
            m_basePoint.y = item.GetDouble();
            break;
        case kPropArrayRadius:
            m_radius = item.GetDouble();
            break;
        case kPropArrayStartAngle:
            SetStartAngle(item.GetDouble() * kRadPerDeg);
            break;
        case kPropArrayMoveAngle:
            SetMoveAngle(item.GetDouble() * kRadPerDeg);
            break;
        case kPropArrayCount:
            if (item.GetInt() >= 1) {
                m_repeatNum = item.GetInt();
            }
            break;
        case kPropArrayRepeatAngle:
            m_repeatAngle = item.GetDouble() * kRadPerDeg;
            break;
        default:
            break;
    }
}

// Same arc of copies with a fresh identity; the start vector is carried over as it is (not renormalised),
// and the relations are shared until the owner rewires the copy.
IDataPtr PatArcPattern::Clone() const {
    auto copy =
        boost::make_shared<PatArcPattern>(m_basePoint, m_baseVector, m_radius, m_repeatAngle, m_repeatNum);
    copy->m_baseVector = m_baseVector;
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
