#include "geomFeature/pattern/CirclePattern.h"

#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

CirclePattern::CirclePattern() = default;

CirclePattern::CirclePattern(const Point2D& centre, double radius) {
    m_basePoint = centre;
    m_baseVector = Vector2D(radius, 0.0);
}

CirclePattern::CirclePattern(DataID id, const Point2D& centre, double radius) : StdPatternBase(id) {
    m_basePoint = centre;
    m_baseVector = Vector2D(radius, 0.0);
}

double CirclePattern::GetRadius() const { return m_baseVector.Length(); }

void CirclePattern::SetRadius(double radius) { m_baseVector = detail::WithLength(m_baseVector, radius); }

tagPatternType CirclePattern::GetPatternType() const { return PAT_CIRCLE; }

// Centre, then the four quadrant points counter-clockwise from the top: top, left, bottom, right. They are
// axis-aligned whatever the direction of the base vector.
void CirclePattern::GetSnapPoints(Point2DList& points) const {
    const double r = GetRadius();
    const Point2D& c = m_basePoint;
    points.push_back(c);
    points.push_back(Point2D(c.x, c.y + r));
    points.push_back(Point2D(c.x - r, c.y));
    points.push_back(Point2D(c.x, c.y - r));
    points.push_back(Point2D(c.x + r, c.y));
}

void CirclePattern::UpdateFrom(const IPatternPtr& other) {
    const CirclePatternPtr circle = boost::dynamic_pointer_cast<CirclePattern>(other);
    if (!circle) {
        return;
    }
    m_basePoint = circle->m_basePoint;
    m_baseVector = circle->m_baseVector;
}

// Same circle at the same place: centres closer than the duplicate tolerance in Manhattan distance (strict)
// and radii within the size tolerance (inclusive).
int CirclePattern::IsDuplicate(const IPatternPtr& other) const {
    const CirclePatternPtr circle = boost::dynamic_pointer_cast<CirclePattern>(other);
    if (!circle) {
        return 0;
    }
    if (!(detail::ManhattanDistance(m_basePoint, circle->m_basePoint) < kPatDuplicateTol)) {  // strict
        return 0;
    }
    return IsSameShape(other);
}

// Same radius wherever the circles stand: radii within the size tolerance (inclusive).
int CirclePattern::IsSameShape(const IPatternPtr& other) const {
    const CirclePatternPtr circle = boost::dynamic_pointer_cast<CirclePattern>(other);
    if (!circle) {
        return 0;
    }
    return std::fabs(GetRadius() - circle->GetRadius()) <= kStdShapeSizeTol ? 1 : 0;  // inclusive
}

// One counter-clockwise full-turn arc starting at (cx + r, cy), so the outline starts there whatever the
// direction of the base vector.
Geom2DListPtr CirclePattern::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Arc2D>(m_basePoint, GetRadius(), 0.0, MathEx::PI2));
    return geoms;
}

void CirclePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Grow (direction 0): the radius gains distance. Shrink: the radius loses distance, refused when nothing
// (or less) would be left, i.e. when distance >= radius.
int CirclePattern::OffsetStdPat(int direction, double distance) {
    const double radius = GetRadius();
    if (direction == 0) {
        SetRadius(radius + distance);
        return 1;
    }
    if (distance >= radius) {  // non-strict: shrinking a radius-5 circle by 5 is refused
        return 0;
    }
    SetRadius(radius - distance);
    return 1;
}

DataProperty CirclePattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResCircleTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeRadius, GetRadius());
    return property;
}

// Applies one edited value. Unknown items are ignored; the cache is left stale.
void CirclePattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = value; break;
        case kPropShapeCentreY: m_basePoint.y = value; break;
        case kPropShapeRadius: SetRadius(value); break;
        default: break;
    }
}

// Same centre and radius with a fresh identity, empty cache and default layer/colour; stays linked to the
// same arrays through shared relation objects.
IDataPtr CirclePattern::Clone() const {
    auto copy = boost::make_shared<CirclePattern>(m_basePoint, GetRadius());
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
