#include "geomFeature/pattern/RCHolePattern.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

namespace {

// The four corner arcs in counter-clockwise outline order. With u the unit vector along V, n = u turned a
// quarter turn, a = L/2 - r and b = W/2 - r, the corner centres are c + a u + b n, c - a u + b n,
// c - a u - b n and c + a u - b n; each arc turns a quarter turn counter-clockwise, the first starting in
// direction u (at the +u end of the +n long side).
std::array<Arc2D, 4> CornerArcs(const Point2D& centre, const Vector2D& halfLength, double width, double radius) {
    const Vector2D u = halfLength.GetUnit();
    const Vector2D n = u.Orthogonal();
    const Vector2D along = u * (halfLength.Length() - radius);
    const Vector2D across = n * (width / 2.0 - radius);
    const double angle = halfLength.Angle();
    const double quarter = MathEx::PI / 2.0;
    return {Arc2D(centre + along + across, radius, angle, quarter),
            Arc2D(centre - along + across, radius, angle + quarter, quarter),
            Arc2D(centre - along - across, radius, angle + 2.0 * quarter, quarter),
            Arc2D(centre + along - across, radius, angle + 3.0 * quarter, quarter)};
}

}  // namespace

RCHolePattern::RCHolePattern() = default;

RCHolePattern::RCHolePattern(const Point2D& centre, double length, double width, double cornerRadius,
                             double angle) {
    Construct(centre, length, width, cornerRadius, angle);
}

RCHolePattern::RCHolePattern(DataID id, const Point2D& centre, double length, double width, double cornerRadius,
                             double angle)
    : StdPatternBase(id) {
    Construct(centre, length, width, cornerRadius, angle);
}

RCHolePattern::RCHolePattern(const Point2D& centre, const Vector2D& halfLength, double orthoRatio,
                             double arcRatio)
    : m_orthoRatio(orthoRatio), m_arcRatio(arcRatio) {
    m_basePoint = centre;
    m_baseVector = halfLength;
}

// V = (cos a, sin a) * length / 2; the ratios are taken relative to the length and to |V|. A zero length
// leaves both ratios 0 (there is nothing to be relative to).
void RCHolePattern::Construct(const Point2D& centre, double length, double width, double cornerRadius,
                              double angle) {
    m_basePoint = centre;
    m_baseVector = Vector2D(std::cos(angle), std::sin(angle)) * (length / 2.0);
    const double half = m_baseVector.Length();
    m_orthoRatio = std::fabs(length) > kGeomZeroLength ? width / length : 0.0;
    m_arcRatio = half > kGeomZeroLength ? cornerRadius / half : 0.0;
}

double RCHolePattern::GetLength() const { return 2.0 * m_baseVector.Length(); }

void RCHolePattern::SetLength(double length) { m_baseVector = detail::WithLength(m_baseVector, length / 2.0); }

double RCHolePattern::GetWidth() const { return GetLength() * m_orthoRatio; }

void RCHolePattern::SetWidth(double width) {
    const double length = GetLength();
    if (length > kGeomZeroLength) {
        m_orthoRatio = width / length;
    }
}

double RCHolePattern::GetArcRadius() const { return m_baseVector.Length() * m_arcRatio; }

void RCHolePattern::SetArcRadius(double radius) {
    const double half = m_baseVector.Length();
    if (half > kGeomZeroLength) {
        m_arcRatio = radius / half;
    }
}

double RCHolePattern::GetAngle() const { return m_baseVector.Angle(); }

void RCHolePattern::SetAngle(double angle) { m_baseVector = detail::VectorAtAngle(m_baseVector.Length(), angle); }

double RCHolePattern::GetOrthoRatio() const { return m_orthoRatio; }

void RCHolePattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

double RCHolePattern::GetArcRatio() const { return m_arcRatio; }

void RCHolePattern::SetArcRatio(double ratio) { m_arcRatio = ratio; }

Vector2D RCHolePattern::GetWidthVector() const { return m_baseVector.Orthogonal() * m_orthoRatio; }

tagPatternType RCHolePattern::GetPatternType() const { return PAT_RC_HOLE; }

// The centre, then the start and end of each corner arc in outline order: the eight points where the
// straight sides meet the corners.
void RCHolePattern::GetSnapPoints(Point2DList& points) const {
    points.push_back(m_basePoint);
    for (const Arc2D& arc : CornerArcs(m_basePoint, m_baseVector, GetWidth(), GetArcRadius())) {
        points.push_back(arc.GetStartPoint());
        points.push_back(arc.GetEndPoint());
    }
}

void RCHolePattern::UpdateFrom(const IPatternPtr& other) {
    const RCHolePatternPtr rc = boost::dynamic_pointer_cast<RCHolePattern>(other);
    if (!rc) {
        return;
    }
    m_basePoint = rc->m_basePoint;
    m_baseVector = rc->m_baseVector;
    m_orthoRatio = rc->m_orthoRatio;
    m_arcRatio = rc->m_arcRatio;
}

// Length, width and angle, and also the corner radius: rounded rectangles that differ only in their
// corners are different holes (a punch for one does not cut the other). All exactly equal.
int RCHolePattern::IsSameShape(const IPatternPtr& other) const {
    const RCHolePatternPtr rc = boost::dynamic_pointer_cast<RCHolePattern>(other);
    if (!rc) {
        return 0;
    }
    return GetLength() == rc->GetLength() && GetWidth() == rc->GetWidth() && GetAngle() == rc->GetAngle() &&
                   GetArcRadius() == rc->GetArcRadius()
               ? 1
               : 0;  // exact on purpose
}

// Eight elements, counter-clockwise, starting with the corner arc at the +V end of the long side on the
// left of V: arc, side, arc, side, ... Each side runs from where one arc ends to where the next begins, so
// the chain meets itself exactly; a side of zero length (corner radius equal to half the width or half
// the length) is still emitted, so the outline always has eight elements.
Geom2DListPtr RCHolePattern::CalcBaseGeomList() const {
    const std::array<Arc2D, 4> arcs = CornerArcs(m_basePoint, m_baseVector, GetWidth(), GetArcRadius());
    auto geoms = boost::make_shared<Geom2DList>();
    for (std::size_t i = 0; i < arcs.size(); ++i) {
        const Arc2D& next = arcs[(i + 1) % arcs.size()];
        geoms->push_back(boost::make_shared<Arc2D>(arcs[i]));
        geoms->push_back(boost::make_shared<Line2D>(arcs[i].GetEndPoint(), next.GetStartPoint()));
    }
    return geoms;
}

void RCHolePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Grows (direction 0) or shrinks length and width by 2 * distance about the fixed centre; the corner radius
// keeps its ratio to half the length. A shrink is refused when the length or the width is at most
// 2 * distance (non-strict). When a shrink leaves the scaled corner radius larger than half the smaller
// side, the radius is clamped to that half, so the outline stays a rounded rectangle (a grow never needs
// this). A rectangle without length has no direction to grow along and is refused.
int RCHolePattern::OffsetStdPat(int direction, double distance) {
    const double length = GetLength();
    const double width = GetWidth();
    if (direction != 0 && (length <= 2.0 * distance || width <= 2.0 * distance)) {
        return 0;
    }
    if (length <= kGeomZeroLength) {
        return 0;
    }
    const double delta = direction == 0 ? distance : -distance;
    const double newLength = length + 2.0 * delta;
    const double newWidth = width + 2.0 * delta;
    m_baseVector = m_baseVector * (newLength / length);
    m_orthoRatio = newWidth / newLength;
    const double maxRadius = std::min(newLength, newWidth) / 2.0;
    if (GetArcRadius() > maxRadius) {
        m_arcRatio = maxRadius / (newLength / 2.0);
    }
    return 1;
}

DataProperty RCHolePattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResRCHoleTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeLength, GetLength());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeCornerRadius, GetArcRadius());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees); the centre stays put. Editing the length sets
// |V| to half the value, and width and corner radius follow their ratios. Unknown items are ignored; the
// cache is left stale.
void RCHolePattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeLength: m_baseVector = detail::WithLength(m_baseVector, value * 0.5); break;
        case kPropShapeWidth: SetWidth(value); break;
        case kPropShapeCornerRadius: SetArcRadius(value); break;
        case kPropShapeAngle: SetAngle(value * kRadPerDeg); break;
        default: break;
    }
}

IDataPtr RCHolePattern::Clone() const {
    auto copy = boost::make_shared<RCHolePattern>(m_basePoint, m_baseVector, m_orthoRatio, m_arcRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
