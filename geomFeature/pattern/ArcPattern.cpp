#include "geomFeature/pattern/ArcPattern.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

double Manhattan(const Point2D& a, const Point2D& b) { return std::fabs(a.x - b.x) + std::fabs(a.y - b.y); }

}  // namespace

ArcPattern::ArcPattern() = default;

ArcPattern::ArcPattern(const Point2D& centre, double radius, double startAngle, double moveAngle) {
    Construct(centre, radius, startAngle, moveAngle);
}

ArcPattern::ArcPattern(DataID id, const Point2D& centre, double radius, double startAngle, double moveAngle)
    : PatternBase(id) {
    Construct(centre, radius, startAngle, moveAngle);
}

ArcPattern::ArcPattern(const Point2D& centre, const Vector2D& baseVector, const Vector2D& midVector,
                       int isFullCircle, tagDirection fullDirection)
    : m_midVector(midVector), m_isFullCircle(isFullCircle), m_fullDirection(fullDirection) {
    m_basePoint = centre;
    m_baseVector = baseVector;
}

// From the default base vector (1,0): scale to the radius, then turn to the start angle, so the start
// point is centre + radius*(cos a, sin a).
void ArcPattern::Construct(const Point2D& centre, double radius, double startAngle, double moveAngle) {
    m_basePoint = centre;
    m_baseVector.Magnitude(radius);
    m_baseVector.Rotate(startAngle);
    m_midVector = m_baseVector;
    ApplyMoveAngle(moveAngle);
}

void ArcPattern::ApplyMoveAngle(double moveAngle) {
    if (std::fabs(MathEx::PI2 - moveAngle) <= kArcFullCircleTol) {  // inclusive
        m_midVector.Rotate(MathEx::PI);
        m_isFullCircle = 1;
        m_fullDirection = DIR_CCW;
    } else if (std::fabs(-MathEx::PI2 - moveAngle) <= kArcFullCircleTol) {  // inclusive
        m_midVector.Rotate(-MathEx::PI);
        m_isFullCircle = 1;
        m_fullDirection = DIR_CW;
    } else {
        m_midVector.Rotate(MathEx::GetSignedAngEx(moveAngle, kArcAngleTol) / 2.0);
        m_isFullCircle = 0;
    }
}

double ArcPattern::GetRadius() const { return m_baseVector.Length(); }

void ArcPattern::SetRadius(double radius) { m_baseVector.Magnitude(radius); }

double ArcPattern::GetStartAngle() const { return m_baseVector.Angle(); }

void ArcPattern::SetStartAngle(double angle) {
    const double delta = angle - GetStartAngle();
    m_baseVector.Rotate(delta);
    m_midVector.Rotate(delta);
}

double ArcPattern::GetEndAngle() const { return GetStartAngle() + GetMoveAngle(); }

double ArcPattern::GetMoveAngle() const {
    if (m_isFullCircle == 0) {
        return 2.0 * MathEx::GetSignedAng(m_baseVector.AngleTo(m_midVector), kArcAngleTol);
    }
    return m_fullDirection == DIR_CCW ? MathEx::PI2 : -MathEx::PI2;
}

void ArcPattern::SetMoveAngle(double moveAngle) {
    m_midVector = m_baseVector;
    ApplyMoveAngle(moveAngle);
}

const Vector2D& ArcPattern::GetMidVector() const { return m_midVector; }

Point2D ArcPattern::GetMiddlePoint() const { return PointAtAngle(GetStartAngle() + GetMoveAngle() / 2.0); }

int ArcPattern::IsFullCircle() const { return m_isFullCircle; }

tagDirection ArcPattern::GetFullDirection() const { return m_fullDirection; }

Point2D ArcPattern::PointAtAngle(double angle) const {
    const double r = GetRadius();
    return Point2D(m_basePoint.x + r * std::cos(angle), m_basePoint.y + r * std::sin(angle));
}

int ArcPattern::MergeWith(const IPatternPtr& other) {
    const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(other);
    if (!arc) {
        return 0;
    }
    Arc2D mine(m_basePoint, GetRadius(), GetStartAngle(), GetMoveAngle());
    const Arc2D theirs(arc->m_basePoint, arc->GetRadius(), arc->GetStartAngle(), arc->GetMoveAngle());
    const int merged = mine.MergeWith(theirs);
    if (merged != 0) {
        SetBasePoint(mine.GetCenter());
        SetRadius(mine.GetRadius());
        SetStartAngle(mine.GetBaseAngle());
        SetMoveAngle(mine.GetSweepAngle());
    }
    return merged;
}

tagPatternType ArcPattern::GetPatternType() const { return PAT_ARC; }

Point2D ArcPattern::GetStartPoint() const { return PointAtAngle(GetStartAngle()); }

Point2D ArcPattern::GetEndPoint() const { return PointAtAngle(GetStartAngle() + GetMoveAngle()); }

// Drags the start to point while the end point and the sweep stay: the centre moves to where an arc of
// that sweep joins the two points, and the radius follows.
void ArcPattern::SetStartPoint(const Point2D& point) {
    const Point2D end = GetEndPoint();
    const double sweep = GetMoveAngle();
    const Point2D centre = MathEx::GetArcCenter(point.x, point.y, end.x, end.y, sweep);
    SetBasePoint(centre);
    SetBaseVector(point - centre);
    SetMoveAngle(sweep);
}

// Mirror of SetStartPoint: start point and sweep stay.
void ArcPattern::SetEndPoint(const Point2D& point) {
    const Point2D start = GetStartPoint();
    const double sweep = GetMoveAngle();
    const Point2D centre = MathEx::GetArcCenter(start.x, start.y, point.x, point.y, sweep);
    SetBasePoint(centre);
    SetBaseVector(start - centre);
    SetMoveAngle(sweep);
}

// Centre, start, middle, end.
void ArcPattern::GetSnapPoints(Point2DList& points) const {
    points.push_back(m_basePoint);
    points.push_back(GetStartPoint());
    points.push_back(GetMiddlePoint());
    points.push_back(GetEndPoint());
}

// Distance to the arc itself. At the centre (closer than kArcCentreTol) every arc point is a radius
// away. A point whose direction from the centre falls within the sweep is |dc - r| from the arc;
// any other point is nearest to one of the two ends.
double ArcPattern::DistanceTo(const Point2D& point) const {
    const double dc = point.DistanceTo(m_basePoint);
    const double r = GetRadius();
    if (dc < kArcCentreTol) {  // strict
        return r;
    }
    const double angle = MathEx::GetAngle(m_basePoint, point);
    if (MathEx::CheckAngleRange(angle, GetStartAngle(), GetMoveAngle(), kArcAngleTol) != 0) {
        return std::fabs(dc - r);
    }
    return std::min(point.DistanceTo(GetStartPoint()), point.DistanceTo(GetEndPoint()));
}

// Copies the geometry; the full-circle fields stay this arc's own.
void ArcPattern::UpdateFrom(const IPatternPtr& other) {
    const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(other);
    if (!arc) {
        return;
    }
    m_basePoint = arc->m_basePoint;
    m_baseVector = arc->m_baseVector;
    m_midVector = arc->m_midVector;
}

// Same arc at the same place, drawn either way round. Centres must agree within the duplicate
// tolerance (Manhattan, strict); radius and angles are compared EXACTLY, as computed, without
// normalisation: only arcs built from identical values are duplicates.
int ArcPattern::IsDuplicate(const IPatternPtr& other) const {
    const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(other);
    if (!arc) {
        return 0;
    }
    if (!(Manhattan(m_basePoint, arc->m_basePoint) < kPatDuplicateTol) || GetRadius() != arc->GetRadius()) {
        return 0;
    }
    const double start = GetStartAngle();
    const double move = GetMoveAngle();
    const double otherStart = arc->GetStartAngle();
    const double otherMove = arc->GetMoveAngle();
    if (start == otherStart && move == otherMove) {  // exact on purpose
        return 1;
    }
    if (otherStart + otherMove == start && -otherMove == move) {  // exact: the same arc traversed backwards
        return 1;
    }
    return 0;
}

Geom2DListPtr ArcPattern::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Arc2D>(m_basePoint, GetRadius(), GetStartAngle(), GetMoveAngle()));
    return geoms;
}

void ArcPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Both vectors go through the matrix, so a mirror flips the sign of the derived sweep. A full circle's
// turning sense is stored, not derived, and stays as it was.
void ArcPattern::Transform(const Matrix2D& matrix) {
    PatternBase::Transform(matrix);
    m_midVector *= matrix;
}

DataProperty ArcPattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResArcTypeName)));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArcCentreX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArcCentreY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArcRadius, GetRadius()));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArcStartAngle, GetStartAngle() * kDegPerRad));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArcMoveAngle, GetMoveAngle() * kDegPerRad));
    return property;
}

// Applies one edited value (angles arrive in degrees). Unknown items are ignored; the cache is left
// stale.
void ArcPattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropArcCentreX: m_basePoint.x = value; break;
        case kPropArcCentreY: m_basePoint.y = value; break;
        case kPropArcRadius: m_baseVector.Magnitude(value); break;
        case kPropArcStartAngle: SetStartAngle(value * kRadPerDeg); break;
        case kPropArcMoveAngle: SetMoveAngle(value * kRadPerDeg); break;
        default: break;
    }
}

IDataPtr ArcPattern::Clone() const {
    auto copy = boost::make_shared<ArcPattern>(m_basePoint, m_baseVector, m_midVector, m_isFullCircle,
                                               m_fullDirection);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
