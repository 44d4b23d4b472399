#include "geomFeature/pattern/TRHolePattern.h"

#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

TRHolePattern::TRHolePattern() = default;

TRHolePattern::TRHolePattern(const Point2D& baseMid, double angle, double baseLength, double height) {
    Vector2D base(1.0, 0.0);
    base.Rotate(angle);
    base.Magnitude(baseLength);
    m_basePoint = baseMid;
    m_baseVector = base;
    m_orthoRatio = std::fabs(baseLength) > kGeomZeroLength ? height / baseLength : 0.0;  // no base: no ratio
}

TRHolePattern::TRHolePattern(const Point2D& baseMid, const Vector2D& base, double orthoRatio)
    : m_orthoRatio(orthoRatio) {
    m_basePoint = baseMid;
    m_baseVector = base;
}

TRHolePattern::TRHolePattern(DataID id, const Point2D& baseMid, const Vector2D& base, double orthoRatio)
    : StdPatternBase(id), m_orthoRatio(orthoRatio) {
    m_basePoint = baseMid;
    m_baseVector = base;
}

double TRHolePattern::GetLength() const { return m_baseVector.Length(); }

void TRHolePattern::SetLength(double length) { m_baseVector = detail::WithLength(m_baseVector, length); }

double TRHolePattern::GetHeight() const { return GetLength() * m_orthoRatio; }

void TRHolePattern::SetHeight(double height) {
    const double length = GetLength();
    if (length > kGeomZeroLength) {
        m_orthoRatio = height / length;
    }
}

double TRHolePattern::GetAngle() const { return m_baseVector.Angle(); }

void TRHolePattern::SetAngle(double angle) {
    m_baseVector = detail::VectorAtAngle(GetLength(), angle);
}

double TRHolePattern::GetOrthoRatio() const { return m_orthoRatio; }

void TRHolePattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

Vector2D TRHolePattern::GetHeightVector() const { return m_baseVector.Orthogonal() * m_orthoRatio; }

Point2D TRHolePattern::GetApex() const { return m_basePoint + GetHeightVector(); }

// Area over half the perimeter. Signed like the height, so that c + r * n (n the unit normal on the left of
// the base) lies inside for an apex on either side; a triangle without base or height has radius 0.
double TRHolePattern::GetInscribedRadius() const {
    const double length = GetLength();
    const double height = GetHeight();
    const double side = std::hypot(length / 2.0, height);
    const double perimeter = length + 2.0 * side;
    return perimeter > kGeomZeroLength ? length * height / perimeter : 0.0;
}

tagPatternType TRHolePattern::GetPatternType() const { return PAT_TR_HOLE; }

int TRHolePattern::IsSmooth() const { return 0; }

// Base midpoint, the two base corners (c + V/2, then c - V/2), the apex.
void TRHolePattern::GetSnapPoints(Point2DList& points) const {
    const Vector2D half = m_baseVector / 2.0;
    points.push_back(m_basePoint);
    points.push_back(m_basePoint + half);
    points.push_back(m_basePoint - half);
    points.push_back(GetApex());
}

void TRHolePattern::UpdateFrom(const IPatternPtr& other) {
    const TRHolePatternPtr tri = boost::dynamic_pointer_cast<TRHolePattern>(other);
    if (!tri) {
        return;
    }
    m_basePoint = tri->m_basePoint;
    m_baseVector = tri->m_baseVector;
    m_orthoRatio = tri->m_orthoRatio;
}

// Base length, height and angle, all exactly equal.
int TRHolePattern::IsSameShape(const IPatternPtr& other) const {
    const TRHolePatternPtr tri = boost::dynamic_pointer_cast<TRHolePattern>(other);
    if (!tri) {
        return 0;
    }
    return GetLength() == tri->GetLength() && GetHeight() == tri->GetHeight() && GetAngle() == tri->GetAngle()
               ? 1
               : 0;  // exact on purpose
}

// Three lines in outline order: the base from c - V/2 to c + V/2, the side up to the apex and the side
// back down to the start of the base. Each line is built from the corner points themselves, so
// consecutive lines meet at the same points.
Geom2DListPtr TRHolePattern::CalcBaseGeomList() const {
    const Vector2D half = m_baseVector / 2.0;
    const Point2D left = m_basePoint - half;
    const Point2D right = m_basePoint + half;
    const Point2D apex = GetApex();
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Line2D>(left, right));
    geoms->push_back(boost::make_shared<Line2D>(right, apex));
    geoms->push_back(boost::make_shared<Line2D>(apex, left));
    return geoms;
}

void TRHolePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Moves base midpoint and base side with the matrix. The apex always stands on the left of the base
// side, so after a reflection the base side is reversed (the midpoint stays): the triangle then covers
// exactly the reflected one and its outline stays counter-clockwise.
void TRHolePattern::Transform(const Matrix2D& matrix) {
    PatternBase::Transform(matrix);
    if (matrix.IsMirror() != 0) {
        m_baseVector = -m_baseVector;
    }
}

Point2D TRHolePattern::GetSymmetryPt() const {
    return m_basePoint + m_baseVector.Orthogonal().GetUnit() * GetInscribedRadius();
}

// Moves each side parallel to itself by distance, outward when direction is 0 and inward otherwise, with
// sharp corners: the result is the triangle scaled about its inscribed centre, which stays where it is
// (so the ratio is unchanged and the base midpoint moves by distance along the base normal). With
// beta = atan(L / 2H), half the apex angle, the base changes by 2 (d / cos beta + d tan beta); the same
// formula serves both ways. A shrink is refused when 2d >= L (non-strict), and also when the sides would
// pass the inscribed centre (new base <= 0), which can happen for flat triangles while 2d < L. A
// triangle without base length or without positive height has no inside to offset and is refused.
int TRHolePattern::OffsetStdPat(int direction, double distance) {
    const double length = GetLength();
    const double height = GetHeight();
    if (direction != 0 && 2.0 * distance >= length) {
        return 0;
    }
    if (length <= kGeomZeroLength || height <= kGeomZeroLength) {
        return 0;
    }
    const double beta = std::atan(length / (2.0 * height));
    const double change = 2.0 * (distance / std::cos(beta) + distance * std::tan(beta));
    const double newLength = direction == 0 ? length + change : length - change;
    if (newLength <= 0.0) {
        return 0;
    }
    const Vector2D normal = m_baseVector.Orthogonal() / length;
    const double shift = direction == 0 ? -distance : distance;
    m_basePoint = m_basePoint + normal * shift;
    m_baseVector = m_baseVector * (newLength / length);
    return 1;
}

DataProperty TRHolePattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResTRHoleTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeHeight, GetHeight());
    detail::AddValueItem(property, kPropShapeWidth, GetLength());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees); the base midpoint stays put. Editing the base
// length keeps the ratio, so the height follows. Unknown items are ignored; the cache is left stale.
void TRHolePattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeHeight: SetHeight(value); break;
        case kPropShapeWidth: SetLength(value); break;
        case kPropShapeAngle: SetAngle(value * kRadPerDeg); break;
        default: break;
    }
}

IDataPtr TRHolePattern::Clone() const {
    auto copy = boost::make_shared<TRHolePattern>(m_basePoint, m_baseVector, m_orthoRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
