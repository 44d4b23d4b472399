#include "geomFeature/pattern/SingleDPattern.h"

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

SingleDPattern::SingleDPattern() = default;

SingleDPattern::SingleDPattern(const Point2D& centre, double radius, double toChord, double angle)
    : m_orthoRatio(toChord / radius) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(radius, angle);
}

SingleDPattern::SingleDPattern(DataID id, const Point2D& centre, double radius, double toChord, double angle)
    : StdPatternBase(id), m_orthoRatio(toChord / radius) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(radius, angle);
}

double SingleDPattern::GetRadius() const { return m_baseVector.Length(); }

void SingleDPattern::SetRadius(double radius) { m_baseVector = detail::WithLength(m_baseVector, radius); }

double SingleDPattern::GetToChord() const { return GetRadius() * m_orthoRatio; }

void SingleDPattern::SetToChord(double toChord) {
    const double radius = GetRadius();
    if (radius == 0.0) {  // exact: any non-zero radius can carry the ratio
        return;
    }
    m_orthoRatio = toChord / radius;
}

double SingleDPattern::GetWidth() const { return GetRadius() + GetToChord(); }

void SingleDPattern::SetWidth(double width) { SetToChord(width - GetRadius()); }

double SingleDPattern::GetAngle() const { return m_baseVector.Angle(); }

void SingleDPattern::SetAngle(double angle) { m_baseVector = detail::VectorAtAngle(GetRadius(), angle); }

double SingleDPattern::GetOrthoRatio() const { return m_orthoRatio; }

void SingleDPattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

Vector2D SingleDPattern::GetToChordVector() const {
    return detail::OrthogonalWithLength(m_baseVector, GetToChord());
}

tagPatternType SingleDPattern::GetPatternType() const { return PAT_SINGLE_D; }

// The flat meets the arc in two corners.
int SingleDPattern::IsSmooth() const { return 0; }

// Centre, the middle of the flat (c - T), the two points of the circle along V (c - V, c + V), and the
// point of the circle opposite the flat (c + V turned a quarter turn).
void SingleDPattern::GetSnapPoints(Point2DList& points) const {
    const Point2D& c = m_basePoint;
    points.push_back(c);
    points.push_back(c - GetToChordVector());
    points.push_back(c - m_baseVector);
    points.push_back(c + m_baseVector);
    points.push_back(c + m_baseVector.Orthogonal());
}

void SingleDPattern::UpdateFrom(const IPatternPtr& other) {
    const SingleDPatternPtr shape = boost::dynamic_pointer_cast<SingleDPattern>(other);
    if (!shape) {
        return;
    }
    m_basePoint = shape->m_basePoint;
    m_baseVector = shape->m_baseVector;
    m_orthoRatio = shape->m_orthoRatio;
}

// Radius, width and angle all exactly equal (no tolerance: equal shapes come from equal stored values).
int SingleDPattern::IsSameShape(const IPatternPtr& other) const {
    const SingleDPatternPtr shape = boost::dynamic_pointer_cast<SingleDPattern>(other);
    if (!shape) {
        return 0;
    }
    return (GetRadius() == shape->GetRadius() && GetWidth() == shape->GetWidth() &&  // exact
            GetAngle() == shape->GetAngle())
               ? 1
               : 0;
}

// A closed counter-clockwise chain of two elements. With α = acos(t / R) the half angle of the flat seen
// from the centre, the arc starts just past the flat at θ - π/2 + α (normalised into (-π, π]) and sweeps
// 2π - 2α round to the flat's other end; the flat is the line from the arc's end back to its start.
Geom2DListPtr SingleDPattern::CalcBaseGeomList() const {
    const double radius = GetRadius();
    const double alpha = detail::FlatHalfAngle(GetToChord(), radius);
    const double baseAngle = MathEx::GetSignedAng(GetAngle() - MathEx::PI / 2.0 + alpha, kArcAngleTol);
    const auto arc = boost::make_shared<Arc2D>(m_basePoint, radius, baseAngle, MathEx::PI2 - 2.0 * alpha);
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(arc);
    geoms->push_back(boost::make_shared<Line2D>(arc->GetEndPoint(), arc->GetStartPoint()));
    return geoms;
}

void SingleDPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// A reflection turns "the right of V" into "the left of the reflected V"; reversing V (the centre stays)
// puts the flat back on the side the reflection carried it to, so the shape covers exactly the reflected one.
void SingleDPattern::Transform(const Matrix2D& matrix) {
    PatternBase::Transform(matrix);
    if (matrix.IsMirror() != 0) {
        m_baseVector = -m_baseVector;
    }
}

// The arc and the flat both move by distance: grow (direction 0) gives R + d and t + d, shrink R - d and
// t - d. A shrink is refused when R <= d or t <= d (the flat would reach or pass the centre).
int SingleDPattern::OffsetStdPat(int direction, double distance) {
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

DataProperty SingleDPattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResSingleDTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeRadius, GetRadius());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees). Editing the radius keeps the ratio; editing the
// width moves the flat. Unknown items are ignored; the cache is left stale.
void SingleDPattern::UpdateProperty(DataPropItem& item) {
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

// Same centre, radius, flat and angle with a fresh identity, empty cache and default layer/colour; stays
// linked to the same arrays through shared relation objects. The stored vector and ratio are copied as they
// are rather than rebuilt from radius, distance and angle, which would round them and make the copy fail
// the exact same-shape test against its original.
IDataPtr SingleDPattern::Clone() const {
    auto copy = boost::make_shared<SingleDPattern>();
    copy->m_basePoint = m_basePoint;
    copy->m_baseVector = m_baseVector;
    copy->m_orthoRatio = m_orthoRatio;
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
