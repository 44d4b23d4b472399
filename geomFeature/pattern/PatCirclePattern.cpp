#include "geomFeature/pattern/PatCirclePattern.h"

#include <cmath>

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

namespace Norvane {

namespace {

Vector2D UnitAt(double angle) {
    return Vector2D(std::cos(angle), std::sin(angle));
}

}  // namespace

PatCirclePattern::PatCirclePattern(const Point2D& centre, double radius, double startAngle, int repeatNum) {
    Init(centre, UnitAt(startAngle), radius, repeatNum);
}

PatCirclePattern::PatCirclePattern(const Point2D& centre, const Vector2D& startVector, double radius,
                                   int repeatNum) {
    Init(centre, startVector.GetUnit(), radius, repeatNum);
}

PatCirclePattern::PatCirclePattern(const PatRelationListPtr& relations, const Point2D& centre, double radius,
                                   double startAngle, int repeatNum)
    : ArrayPatBase(relations) {
    Init(centre, UnitAt(startAngle), radius, repeatNum);
}

PatCirclePattern::PatCirclePattern(const PatRelationListPtr& relations, const Point2D& centre,
                                   const Vector2D& startVector, double radius, int repeatNum)
    : ArrayPatBase(relations) {
    Init(centre, startVector.GetUnit(), radius, repeatNum);
}

PatCirclePattern::PatCirclePattern(DataID id, const Point2D& centre, double radius, double startAngle,
                                   int repeatNum)
    : ArrayPatBase(id) {
    Init(centre, UnitAt(startAngle), radius, repeatNum);
}

PatCirclePattern::PatCirclePattern(DataID id, const Point2D& centre, const Vector2D& startVector,
                                   double radius, int repeatNum)
    : ArrayPatBase(id) {
    Init(centre, startVector.GetUnit(), radius, repeatNum);
}

void PatCirclePattern::Init(const Point2D& centre, const Vector2D& startVector, double radius,
                            int repeatNum) {
    m_basePoint = centre;
    m_baseVector = startVector;
    m_radius = radius;
    m_repeatNum = repeatNum;
}

double PatCirclePattern::GetRadius() const {
    return m_radius;
}

void PatCirclePattern::SetRadius(double radius) {
    m_radius = radius;
}

double PatCirclePattern::GetStartAngle() const {
    return m_baseVector.Angle();
}

void PatCirclePattern::SetStartAngle(double angle) {
    m_baseVector = UnitAt(angle);
}

int PatCirclePattern::GetRepeatNum() const {
    return m_repeatNum;
}

void PatCirclePattern::SetRepeatNum(int repeatNum) {
    m_repeatNum = repeatNum;
}

double PatCirclePattern::GetRepeatAngle() const {
    return m_repeatNum > 0 ? MathEx::PI2 / m_repeatNum : 0.0;
}

tagPatternType PatCirclePattern::GetPatternType() const {
    return PAT_CIRCLE_ARRAY;
}

Matrix2D PatCirclePattern::GetFirstInstMat() const {
    return Translation(PolarMoves(m_radius, GetStartAngle(), GetRepeatAngle(), 1).front());
}

RepeatDataPtr PatCirclePattern::GetRepeatData() const {
    return RepeatRelativeToFirst(PolarMoves(m_radius, GetStartAngle(), GetRepeatAngle(), m_repeatNum));
}

// The centre, the first place, the second place.
void PatCirclePattern::GetSnapPoints(Point2DList& points) const {
    AddPolarSnapPoints(points, m_radius, GetStartAngle(), {GetRepeatAngle()});
}

Geom2DListPtr PatCirclePattern::CalcBaseGeomList() const {
    return RepeatControlGeometry(PolarMoves(m_radius, GetStartAngle(), GetRepeatAngle(), m_repeatNum));
}

void PatCirclePattern::UpdateFrom(const IPatternPtr& other) {
    const PatCirclePatternPtr ring = boost::dynamic_pointer_cast<PatCirclePattern>(other);
    if (!ring) {
        return;
    }
    m_basePoint = ring->m_basePoint;
    m_baseVector = ring->m_baseVector;
    m_radius = ring->m_radius;
    m_repeatNum = ring->m_repeatNum;
}

void PatCirclePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

DataProperty PatCirclePattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(
        DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResCircleArrayTypeName)));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayRadius, m_radius));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayStartAngle, GetStartAngle() * kDegPerRad));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayCount, m_repeatNum));
    return property;
}

// Applies one edited value; a count below one copy and unknown items are ignored; the cache is left stale.
void PatCirclePattern::UpdateProperty(DataPropItem& item) {
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
        case kPropArrayCount:
            if (item.GetInt() >= 1) {
                m_repeatNum = item.GetInt();
            }
            break;
        default:
            break;
    }
}

// Same ring of copies with a fresh identity; the start vector is carried over as it is, and the
// relations are shared until the owner rewires the copy.
IDataPtr PatCirclePattern::Clone() const {
    auto copy = boost::make_shared<PatCirclePattern>(m_basePoint, m_baseVector, m_radius, m_repeatNum);
    copy->m_baseVector = m_baseVector;
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
