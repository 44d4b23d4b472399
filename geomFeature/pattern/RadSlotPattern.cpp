#include "geomFeature/pattern/RadSlotPattern.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

RadSlotPattern::RadSlotPattern() = default;

RadSlotPattern::RadSlotPattern(const Point2D& centre, double radius, double startAngle, double moveAngle,
                               double width) {
    Construct(centre, radius, startAngle, moveAngle, width);
}

RadSlotPattern::RadSlotPattern(const Point2D& centre, const Vector2D& baseVector, const Vector2D& midVector,
                               double widthRatio)
    : m_midVector(midVector), m_widthRatio(widthRatio) {
    m_basePoint = centre;
    m_baseVector = baseVector;
}

RadSlotPattern::RadSlotPattern(DataID id, const Point2D& centre, double radius, double startAngle,
                               double moveAngle, double width)
    : StdPatternBase(id) {
    Construct(centre, radius, startAngle, moveAngle, width);
}

// V = R (cos a, sin a); the mid vector is V turned by half the sweep reduced into (-2pi, 2pi).
void RadSlotPattern::Construct(const Point2D& centre, double radius, double startAngle, double moveAngle,
                               double width) {
    m_basePoint = centre;
    m_baseVector = Vector2D(radius * std::cos(startAngle), radius * std::sin(startAngle));
    SetMoveAngle(moveAngle);
    m_widthRatio = std::fabs(radius) > kGeomZeroLength ? width / radius : 0.0;  // no radius: no ratio
}

double RadSlotPattern::GetRadius() const { return m_baseVector.Length(); }

void RadSlotPattern::SetRadius(double radius) { m_baseVector = detail::WithLength(m_baseVector, radius); }

double RadSlotPattern::GetStartAngle() const { return m_baseVector.Angle(); }

void RadSlotPattern::SetStartAngle(double angle) {
    const double delta = angle - GetStartAngle();
    m_baseVector.Rotate(delta);
    m_midVector.Rotate(delta);
}

double RadSlotPattern::GetEndAngle() const { return GetStartAngle() + GetMoveAngle(); }

double RadSlotPattern::GetMoveAngle() const {
    return 2.0 * MathEx::GetSignedAng(m_baseVector.AngleTo(m_midVector), kArcAngleTol);
}

void RadSlotPattern::SetMoveAngle(double moveAngle) {
    m_midVector = m_baseVector;
    m_midVector.Rotate(MathEx::GetSignedAngEx(moveAngle, kArcAngleTol) / 2.0);
}

const Vector2D& RadSlotPattern::GetMidVector() const { return m_midVector; }

double RadSlotPattern::GetWidth() const { return GetRadius() * m_widthRatio; }

void RadSlotPattern::SetWidth(double width) {
    const double radius = GetRadius();
    if (radius > kGeomZeroLength) {
        m_widthRatio = width / radius;
    }
}

double RadSlotPattern::GetWidthRatio() const { return m_widthRatio; }

void RadSlotPattern::SetWidthRatio(double ratio) { m_widthRatio = ratio; }

Point2D RadSlotPattern::PointAtAngle(double angle) const {
    const double r = GetRadius();
    return Point2D(m_basePoint.x + r * std::cos(angle), m_basePoint.y + r * std::sin(angle));
}

Point2D RadSlotPattern::GetCenterLineStart() const { return PointAtAngle(GetStartAngle()); }

Point2D RadSlotPattern::GetCenterLineMiddle() const { return PointAtAngle(GetStartAngle() + GetMoveAngle() / 2.0); }

Point2D RadSlotPattern::GetCenterLineEnd() const { return PointAtAngle(GetEndAngle()); }

tagPatternType RadSlotPattern::GetPatternType() const { return PAT_RAD_SLOT; }

// The centre, then start, middle and end of the centre line (the order of an arc pattern's snap points).
void RadSlotPattern::GetSnapPoints(Point2DList& points) const {
    points.push_back(m_basePoint);
    points.push_back(GetCenterLineStart());
    points.push_back(GetCenterLineMiddle());
    points.push_back(GetCenterLineEnd());
}

void RadSlotPattern::UpdateFrom(const IPatternPtr& other) {
    const RadSlotPatternPtr slot = boost::dynamic_pointer_cast<RadSlotPattern>(other);
    if (!slot) {
        return;
    }
    m_basePoint = slot->m_basePoint;
    m_baseVector = slot->m_baseVector;
    m_midVector = slot->m_midVector;
    m_widthRatio = slot->m_widthRatio;
}

// Radius, width, start angle and move angle, all exactly equal.
int RadSlotPattern::IsSameShape(const IPatternPtr& other) const {
    const RadSlotPatternPtr slot = boost::dynamic_pointer_cast<RadSlotPattern>(other);
    if (!slot) {
        return 0;
    }
    return GetRadius() == slot->GetRadius() && GetWidth() == slot->GetWidth() &&
                   GetStartAngle() == slot->GetStartAngle() && GetMoveAngle() == slot->GetMoveAngle()
               ? 1
               : 0;  // exact on purpose
}

// A closed counter-clockwise chain of four arcs, whatever the sign of the sweep, so that a slot and its
// mirror image have outlines of the same orientation. With lo the smaller and hi the larger of the two
// centre-line end angles (hi = lo + |m|):
//   1. the outer edge, radius R + w/2, counter-clockwise from lo to hi;
//   2. the cap at the centre-line point at hi, radius w/2, a half turn from the outer to the inner edge;
//   3. the inner edge, radius R - w/2, clockwise from hi back to lo;
//   4. the cap at the centre-line point at lo, a half turn from the inner back to the outer edge.
// For a positive sweep the chain therefore starts at the outer edge of the slot's start; for a negative
// sweep at the outer edge of its end. The inner edge is the arc (R - w/2, from the start, sweep m)
// traversed backwards, so that the chain runs head to tail.
Geom2DListPtr RadSlotPattern::CalcBaseGeomList() const {
    const double radius = GetRadius();
    const double halfWidth = GetWidth() / 2.0;
    const double start = GetStartAngle();
    const double move = GetMoveAngle();
    const double lo = std::min(start, start + move);
    const double sweep = std::fabs(move);
    const double hi = lo + sweep;
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Arc2D>(m_basePoint, radius + halfWidth, lo, sweep));
    geoms->push_back(boost::make_shared<Arc2D>(PointAtAngle(hi), halfWidth, hi, MathEx::PI));
    geoms->push_back(boost::make_shared<Arc2D>(m_basePoint, radius - halfWidth, hi, -sweep));
    geoms->push_back(boost::make_shared<Arc2D>(PointAtAngle(lo), halfWidth, lo + MathEx::PI, MathEx::PI));
    return geoms;
}

void RadSlotPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// As an arc: centre, base vector and mid vector follow the matrix, so a reflection reverses the sweep.
void RadSlotPattern::Transform(const Matrix2D& matrix) {
    PatternBase::Transform(matrix);
    m_midVector *= matrix;
}

// Widens (direction 0) or narrows the slot by 2 * distance; the centre line stays. A narrowing is refused
// when 2d >= w (the slot would vanish), a widening when d >= R - w/2 (the inner edge would reach the
// centre); both non-strict. A slot without radius has no centre line to keep and is refused.
int RadSlotPattern::OffsetStdPat(int direction, double distance) {
    const double radius = GetRadius();
    const double width = GetWidth();
    if (radius <= kGeomZeroLength) {
        return 0;
    }
    double newWidth = 0.0;
    if (direction == 0) {
        if (distance >= radius - width / 2.0) {
            return 0;
        }
        newWidth = width + 2.0 * distance;
    } else {
        if (2.0 * distance >= width) {
            return 0;
        }
        newWidth = width - 2.0 * distance;
    }
    m_widthRatio = newWidth / radius;
    return 1;
}

DataProperty RadSlotPattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResRadSlotTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeRadius, GetRadius());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeStartAngle, GetStartAngle() * kDegPerRad);
    detail::AddValueItem(property, kPropShapeMoveAngle, GetMoveAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (angles arrive in degrees). Editing the radius keeps the ratio, so the width
// follows. Unknown items are ignored; the cache is left stale.
void RadSlotPattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeRadius: SetRadius(value); break;
        case kPropShapeWidth: SetWidth(value); break;
        case kPropShapeStartAngle: SetStartAngle(value * kRadPerDeg); break;
        case kPropShapeMoveAngle: SetMoveAngle(value * kRadPerDeg); break;
        default: break;
    }
}

IDataPtr RadSlotPattern::Clone() const {
    auto copy = boost::make_shared<RadSlotPattern>(m_basePoint, m_baseVector, m_midVector, m_widthRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
