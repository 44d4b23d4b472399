#include "geomFeature/pattern/OBroundPattern.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

OBroundPattern::OBroundPattern() = default;

OBroundPattern::OBroundPattern(const Point2D& centre, double angle, double length, double width)
    : m_orthoRatio(width / length) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(length, angle);
}

OBroundPattern::OBroundPattern(const Point2D& centre, const Vector2D& axis, double ratio) : m_orthoRatio(ratio) {
    m_basePoint = centre;
    m_baseVector = axis;
}

OBroundPattern::OBroundPattern(DataID id, const Point2D& centre, const Vector2D& axis, double ratio)
    : StdPatternBase(id), m_orthoRatio(ratio) {
    m_basePoint = centre;
    m_baseVector = axis;
}

double OBroundPattern::GetLength() const { return m_baseVector.Length(); }

void OBroundPattern::SetLength(double length) { m_baseVector = detail::WithLength(m_baseVector, length); }

double OBroundPattern::GetWidth() const { return GetLength() * m_orthoRatio; }

void OBroundPattern::SetWidth(double width) {
    const double length = GetLength();
    if (length == 0.0) {  // exact: any non-zero length can carry the ratio
        return;
    }
    m_orthoRatio = width / length;
}

double OBroundPattern::GetAngle() const { return m_baseVector.Angle(); }

void OBroundPattern::SetAngle(double angle) { m_baseVector = detail::VectorAtAngle(GetLength(), angle); }

double OBroundPattern::GetOrthoRatio() const { return m_orthoRatio; }

void OBroundPattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

Vector2D OBroundPattern::GetWidthVector() const {
    return detail::OrthogonalWithLength(m_baseVector, GetWidth() / 2.0);
}

tagPatternType OBroundPattern::GetPatternType() const { return PAT_OBROUND; }

// Centre, the two end-arc centres (c + V/2, c - V/2), the middles of the two straight sides.
void OBroundPattern::GetSnapPoints(Point2DList& points) const {
    const Point2D& c = m_basePoint;
    const Vector2D halfAxis = m_baseVector / 2.0;
    const Vector2D widthVector = GetWidthVector();
    points.push_back(c);
    points.push_back(c + halfAxis);
    points.push_back(c - halfAxis);
    points.push_back(c + widthVector);
    points.push_back(c - widthVector);
}

void OBroundPattern::UpdateFrom(const IPatternPtr& other) {
    const OBroundPatternPtr obround = boost::dynamic_pointer_cast<OBroundPattern>(other);
    if (!obround) {
        return;
    }
    m_basePoint = obround->m_basePoint;
    m_baseVector = obround->m_baseVector;
    m_orthoRatio = obround->m_orthoRatio;
}

// Length, width and angle all exactly equal (no tolerance: equal shapes come from equal stored values).
int OBroundPattern::IsSameShape(const IPatternPtr& other) const {
    const OBroundPatternPtr obround = boost::dynamic_pointer_cast<OBroundPattern>(other);
    if (!obround) {
        return 0;
    }
    return (GetLength() == obround->GetLength() && GetWidth() == obround->GetWidth() &&  // exact
            GetAngle() == obround->GetAngle())
               ? 1
               : 0;
}

// A closed counter-clockwise chain: the end arc around c - V/2 (from the left side over the back to the
// right side), the right straight side, the end arc around c + V/2, the left straight side. Each straight
// side runs from the end point of the arc before it to the start point of the arc after it, so the chain
// shares its joints exactly.
Geom2DListPtr OBroundPattern::CalcBaseGeomList() const {
    const double theta = GetAngle();
    const double radius = GetWidth() / 2.0;
    const Vector2D halfAxis = m_baseVector / 2.0;
    const auto back = boost::make_shared<Arc2D>(m_basePoint - halfAxis, radius, theta + MathEx::PI / 2.0, MathEx::PI);
    const auto front =
        boost::make_shared<Arc2D>(m_basePoint + halfAxis, radius, theta + 3.0 * MathEx::PI / 2.0, MathEx::PI);
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(back);
    geoms->push_back(boost::make_shared<Line2D>(back->GetEndPoint(), front->GetStartPoint()));
    geoms->push_back(front);
    geoms->push_back(boost::make_shared<Line2D>(front->GetEndPoint(), back->GetStartPoint()));
    return geoms;
}

void OBroundPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Offsetting a slot moves its sides and end arcs by the same distance while the arc centres stay put: L is
// unchanged and the width gains (grow, direction 0) or loses (shrink) 2 * distance. A shrink is refused when
// L <= 2d or W <= 2d.
int OBroundPattern::OffsetStdPat(int direction, double distance) {
    const double length = GetLength();
    const double width = GetWidth();
    const double change = 2.0 * distance;
    if (direction == 0) {
        m_orthoRatio = (width + change) / length;
        return 1;
    }
    if (length <= change || width <= change) {  // non-strict: a width of exactly 2d is refused
        return 0;
    }
    m_orthoRatio = (width - change) / length;
    return 1;
}

DataProperty OBroundPattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResOBroundTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeLength, GetLength());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees). Editing L keeps the ratio, so the width
// follows. Unknown items are ignored; the cache is left stale.
void OBroundPattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeLength: SetLength(value); break;
        case kPropShapeWidth: SetWidth(value); break;
        case kPropShapeAngle: SetAngle(value * kRadPerDeg); break;
        default: break;
    }
}

// Same centre, V and ratio with a fresh identity, empty cache and default layer/colour; stays linked to the
// same arrays through shared relation objects.
IDataPtr OBroundPattern::Clone() const {
    auto copy = boost::make_shared<OBroundPattern>(m_basePoint, m_baseVector, m_orthoRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
