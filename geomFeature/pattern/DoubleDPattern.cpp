#include "geomFeature/pattern/DoubleDPattern.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

DoubleDPattern::DoubleDPattern() = default;

DoubleDPattern::DoubleDPattern(const Point2D& centre, double radius, double toChord, double angle)
    : m_orthoRatio(toChord / radius) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(radius, angle);
}

DoubleDPattern::DoubleDPattern(DataID id, const Point2D& centre, double radius, double toChord, double angle)
    : StdPatternBase(id), m_orthoRatio(toChord / radius) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(radius, angle);
}

double DoubleDPattern::GetRadius() const { return m_baseVector.Length(); }

void DoubleDPattern::SetRadius(double radius) { m_baseVector = detail::WithLength(m_baseVector, radius); }

double DoubleDPattern::GetToChord() const { return GetRadius() * m_orthoRatio; }

void DoubleDPattern::SetToChord(double toChord) {
    const double radius = GetRadius();
    if (radius == 0.0) {  // exact: any non-zero radius can carry the ratio
        return;
    }
    m_orthoRatio = toChord / radius;
}

double DoubleDPattern::GetWidth() const { return 2.0 * GetToChord(); }

void DoubleDPattern::SetWidth(double width) { SetToChord(width / 2.0); }

double DoubleDPattern::GetAngle() const { return m_baseVector.Angle(); }

void DoubleDPattern::SetAngle(double angle) { m_baseVector = detail::VectorAtAngle(GetRadius(), angle); }

double DoubleDPattern::GetOrthoRatio() const { return m_orthoRatio; }

void DoubleDPattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

Vector2D DoubleDPattern::GetToChordVector() const {
    return detail::OrthogonalWithLength(m_baseVector, GetToChord());
}

tagPatternType DoubleDPattern::GetPatternType() const { return PAT_DOUBLE_D; }

// Each flat meets the arcs in two corners.
int DoubleDPattern::IsSmooth() const { return 0; }

// Centre, the middles of the two flats (c - T, c + T), the middles of the two arcs (c - V, c + V).
void DoubleDPattern::GetSnapPoints(Point2DList& points) const {
    const Point2D& c = m_basePoint;
    const Vector2D toChord = GetToChordVector();
    points.push_back(c);
    points.push_back(c - toChord);
    points.push_back(c + toChord);
    points.push_back(c - m_baseVector);
    points.push_back(c + m_baseVector);
}

void DoubleDPattern::UpdateFrom(const IPatternPtr& other) {
    const DoubleDPatternPtr shape = boost::dynamic_pointer_cast<DoubleDPattern>(other);
    if (!shape) {
        return;
    }
    m_basePoint = shape->m_basePoint;
    m_baseVector = shape->m_baseVector;
    m_orthoRatio = shape->m_orthoRatio;
}

// Radius, width and angle all exactly equal (no tolerance: equal shapes come from equal stored values).
int DoubleDPattern::IsSameShape(const IPatternPtr& other) const {
    const DoubleDPatternPtr shape = boost::dynamic_pointer_cast<DoubleDPattern>(other);
    if (!shape) {
        return 0;
    }
    return (GetRadius() == shape->GetRadius() && GetWidth() == shape->GetWidth() &&  // exact
            GetAngle() == shape->GetAngle())
               ? 1
               : 0;
}

// A closed counter-clockwise chain of four elements: arc, flat, arc, flat. With α = acos(t / R) the half
// angle of a flat seen from the centre, the first arc starts just past the right-hand flat at θ - π/2 + α
// (normalised into (-π, π]) and sweeps π - 2α over the middle c + V to the left-hand flat; the second arc is
// the first turned a half turn (base angle π further). Each flat runs from the end of one arc to the start
// of the other, so the chain shares its joints exactly. Flats at the circle (t = R) have zero length.
Geom2DListPtr DoubleDPattern::CalcBaseGeomList() const {
    const double radius = GetRadius();
    const double alpha = detail::FlatHalfAngle(GetToChord(), radius);
    const double sweep = MathEx::PI - 2.0 * alpha;
    const double baseAngle = MathEx::GetSignedAng(GetAngle() - MathEx::PI / 2.0 + alpha, kArcAngleTol);
    const auto front = boost::make_shared<Arc2D>(m_basePoint, radius, baseAngle, sweep);
    const auto back = boost::make_shared<Arc2D>(m_basePoint, radius, baseAngle + MathEx::PI, sweep);
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(front);
    geoms->push_back(boost::make_shared<Line2D>(front->GetEndPoint(), back->GetStartPoint()));
    geoms->push_back(back);
    geoms->push_back(boost::make_shared<Line2D>(back->GetEndPoint(), front->GetStartPoint()));
    return geoms;
}

void DoubleDPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// The arcs and the flats all move by distance: grow (direction 0) gives R + d and t + d, shrink R - d and
// t - d. A shrink is refused when R <= d or t <= d (the flats would meet at or pass the centre).
int DoubleDPattern::OffsetStdPat(int direction, double distance) {
    const double radius = GetRadius();
    const double toChord = GetToChord();
    double newRadius = radius + distance;
    double newToChord = toChord + distance;
    if (direction != 0) {
        if (radius <= distance || toChord <= distance) {  // non-strict: t equal to d is refused
            return 0;
        }
        newRadius = radius - distance;
        newToChord = toChord - distance;
    }
    SetRadius(newRadius);
    m_orthoRatio = newToChord / newRadius;
    return 1;
}

DataProperty DoubleDPattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResDoubleDTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeRadius, GetRadius());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees). Editing the radius keeps the ratio; editing the
// width moves both flats. Unknown items are ignored; the cache is left stale.
void DoubleDPattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeRadius: SetRadius(value); break;
        case kPropShapeWidth: SetWidth(value); break;
        case kPropShapeAngle: SetAngle(value * kRadPerDeg); break;
        default: break;
    }
}

// Same centre, radius, flats and angle with a fresh identity, empty cache and default layer/colour; stays
// linked to the same arrays through shared relation objects. The stored vector and ratio are copied as they
// are rather than rebuilt from radius, distance and angle, which would round them and make the copy fail
// the exact same-shape test against its original.
IDataPtr DoubleDPattern::Clone() const {
    auto copy = boost::make_shared<DoubleDPattern>();
    copy->m_basePoint = m_basePoint;
    copy->m_baseVector = m_baseVector;
    copy->m_orthoRatio = m_orthoRatio;
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
