#include "geomFeature/pattern/EllipsePattern.h"

#include <cmath>

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

namespace {

// Point of the ellipse at parameter t: centre c, half axes a (along the first axis) and b, rotation theta.
// t = 0 is the end of the first axis and t grows counter-clockwise.
Point2D EllipsePoint(const Point2D& c, double a, double b, double theta, double t) {
    const double cosT = std::cos(t);
    const double sinT = std::sin(t);
    const double cosTheta = std::cos(theta);
    const double sinTheta = std::sin(theta);
    return Point2D(c.x + a * cosT * cosTheta - b * sinT * sinTheta, c.y + a * cosT * sinTheta + b * sinT * cosTheta);
}

}  // namespace

EllipsePattern::EllipsePattern() = default;

EllipsePattern::EllipsePattern(const Point2D& centre, double angle, double length, double width)
    : m_orthoRatio(width / length) {
    m_basePoint = centre;
    m_baseVector = detail::VectorAtAngle(length, angle);
}

EllipsePattern::EllipsePattern(const Point2D& centre, const Vector2D& axis, double ratio) : m_orthoRatio(ratio) {
    m_basePoint = centre;
    m_baseVector = axis;
}

EllipsePattern::EllipsePattern(DataID id, const Point2D& centre, const Vector2D& axis, double ratio,
                               std::int32_t segCount)
    : StdPatternBase(id), m_orthoRatio(ratio), m_segCount(segCount) {
    m_basePoint = centre;
    m_baseVector = axis;
}

double EllipsePattern::GetLength() const { return m_baseVector.Length(); }

void EllipsePattern::SetLength(double length) { m_baseVector = detail::WithLength(m_baseVector, length); }

double EllipsePattern::GetWidth() const { return GetLength() * m_orthoRatio; }

void EllipsePattern::SetWidth(double width) {
    const double length = GetLength();
    if (length == 0.0) {  // exact: any non-zero length can carry the ratio
        return;
    }
    m_orthoRatio = width / length;
}

double EllipsePattern::GetAngle() const { return m_baseVector.Angle(); }

void EllipsePattern::SetAngle(double angle) { m_baseVector = detail::VectorAtAngle(GetLength(), angle); }

double EllipsePattern::GetOrthoRatio() const { return m_orthoRatio; }

void EllipsePattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

std::int32_t EllipsePattern::GetSegCount() const { return m_segCount; }

void EllipsePattern::SetSegCount(std::int32_t segCount) { m_segCount = segCount; }

tagPatternType EllipsePattern::GetPatternType() const { return PAT_ELLIPSE; }

// Centre, the two ends of the first axis (c + V/2, c - V/2), then the two ends of the second axis
// (c + W/2, c - W/2), W being V turned a quarter turn counter-clockwise and rescaled to the width.
void EllipsePattern::GetSnapPoints(Point2DList& points) const {
    const Point2D& c = m_basePoint;
    const Vector2D halfAxis = m_baseVector / 2.0;
    const Vector2D halfWidth = detail::OrthogonalWithLength(m_baseVector, GetWidth()) / 2.0;
    points.push_back(c);
    points.push_back(c + halfAxis);
    points.push_back(c - halfAxis);
    points.push_back(c + halfWidth);
    points.push_back(c - halfWidth);
}

// Takes over point, axis and ratio; the number of arcs is this ellipse's own display setting and stays.
void EllipsePattern::UpdateFrom(const IPatternPtr& other) {
    const EllipsePatternPtr ellipse = boost::dynamic_pointer_cast<EllipsePattern>(other);
    if (!ellipse) {
        return;
    }
    m_basePoint = ellipse->m_basePoint;
    m_baseVector = ellipse->m_baseVector;
    m_orthoRatio = ellipse->m_orthoRatio;
}

// Same ellipse at the same place: centres closer than the duplicate tolerance in Manhattan distance
// (strict), then the same shape as IsSameShape decides.
int EllipsePattern::IsDuplicate(const IPatternPtr& other) const {
    const EllipsePatternPtr ellipse = boost::dynamic_pointer_cast<EllipsePattern>(other);
    if (!ellipse) {
        return 0;
    }
    if (!(detail::ManhattanDistance(m_basePoint, ellipse->m_basePoint) < kPatDuplicateTol)) {  // strict
        return 0;
    }
    return IsSameShape(other);
}

// The same ellipse wherever it stands, recognised in two ways. Either length, width and angle are all
// exactly equal; or the axes are exchanged (other's width is exactly this length and other's length exactly
// this width) and the angles differ by at most a quarter turn (inclusive, by the kernel's EqualA). Exact
// comparisons on purpose: the shapes come from the same stored values, not from fresh measurements.
int EllipsePattern::IsSameShape(const IPatternPtr& other) const {
    const EllipsePatternPtr ellipse = boost::dynamic_pointer_cast<EllipsePattern>(other);
    if (!ellipse) {
        return 0;
    }
    const double length = GetLength();
    const double width = GetWidth();
    const double angle = GetAngle();
    const double otherLength = ellipse->GetLength();
    const double otherWidth = ellipse->GetWidth();
    const double otherAngle = ellipse->GetAngle();
    if (otherWidth == width && otherLength == length && otherAngle == angle) {  // exact
        return 1;
    }
    if (otherWidth == length && otherLength == width &&  // exact, axes exchanged
        MathEx::EqualA(angle, otherAngle, MathEx::PI / 2.0) != 0) {
        return 1;
    }
    return 0;
}

// segCount arcs, counter-clockwise from the end of the first axis (c + V/2). Arc k runs from the point at
// parameter 2pi(k-1)/n through the one at pi(2k-1)/n to the one at 2pi k/n; each arc starts at the point
// where the previous one ended, and the last one ends at the very first point, so the chain closes. An
// arc whose three points are collinear (a needle-thin ellipse) has no circle through them and becomes the
// straight piece between its ends. With segCount below 1 the outline is empty.
Geom2DListPtr EllipsePattern::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    const std::int32_t n = m_segCount;
    if (n < 1) {
        return geoms;
    }
    const double a = GetLength() / 2.0;
    const double b = GetWidth() / 2.0;
    const double theta = GetAngle();
    const Point2D& c = m_basePoint;

    const Point2D first = EllipsePoint(c, a, b, theta, 0.0);
    Point2D prev = first;
    for (std::int32_t k = 1; k <= n; ++k) {
        const Point2D end = (k == n) ? first : EllipsePoint(c, a, b, theta, MathEx::PI2 * k / n);
        const Point2D mid = EllipsePoint(c, a, b, theta, MathEx::PI * (2 * k - 1) / n);
        Point2D centre;
        double radius = 0.0;
        double baseAngle = 0.0;
        double sweep = 0.0;
        MathEx::GetArcFrom3Point(prev, mid, end, centre, radius, baseAngle, sweep);
        if (radius > 0.0) {
            geoms->push_back(boost::make_shared<Arc2D>(centre, radius, baseAngle, sweep));
        } else {
            geoms->push_back(boost::make_shared<Line2D>(prev, end));
        }
        prev = end;
    }
    return geoms;
}

void EllipsePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Grow (direction 0): both axes gain 2 * distance. Shrink: both lose 2 * distance, refused when either axis
// would vanish (|L| <= 2d or |W| <= 2d). The new length rescales the axis vector; the new width is carried
// by the ratio new W / new L.
int EllipsePattern::OffsetStdPat(int direction, double distance) {
    const double length = GetLength();
    const double width = GetWidth();
    const double change = 2.0 * distance;
    double newLength = length + change;
    double newWidth = width + change;
    if (direction != 0) {
        if (std::fabs(length) <= change || std::fabs(width) <= change) {  // non-strict: 4 <= 2*2 is refused
            return 0;
        }
        newLength = length - change;
        newWidth = width - change;
    }
    SetLength(newLength);
    m_orthoRatio = newWidth / newLength;
    return 1;
}

DataProperty EllipsePattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResEllipseTypeName);
    detail::AddValueItem(property, kPropShapeCentreX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCentreY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeLength, GetLength());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    property.AddProperty(DataPropItem(kPropGroupValues, kPropEllipseSegCount, static_cast<int>(m_segCount)));
    return property;
}

// Applies one edited value (the angle arrives in degrees). Editing the length keeps the ratio, so the width
// follows. Unknown items are ignored; the cache is left stale.
void EllipsePattern::UpdateProperty(DataPropItem& item) {
    switch (item.GetItemID()) {
        case kPropShapeCentreX: m_basePoint.x = item.GetDouble(); break;
        case kPropShapeCentreY: m_basePoint.y = item.GetDouble(); break;
        case kPropShapeLength: SetLength(item.GetDouble()); break;
        case kPropShapeWidth: SetWidth(item.GetDouble()); break;
        case kPropShapeAngle: SetAngle(item.GetDouble() * kRadPerDeg); break;
        case kPropEllipseSegCount: m_segCount = item.GetInt(); break;
        default: break;
    }
}

// Same centre, axis and ratio with a fresh identity, empty cache and default layer/colour; the clone draws
// with the default 16 arcs. Stays linked to the same arrays through shared relation objects.
IDataPtr EllipsePattern::Clone() const {
    auto copy = boost::make_shared<EllipsePattern>(m_basePoint, m_baseVector, m_orthoRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
