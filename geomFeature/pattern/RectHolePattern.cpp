#include "geomFeature/pattern/RectHolePattern.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/pattern/detail/StdShapeSupport.h"

namespace Norvane {

RectHolePattern::RectHolePattern() = default;

RectHolePattern::RectHolePattern(const Point2D& corner, const Vector2D& side, double orthoRatio)
    : m_orthoRatio(orthoRatio) {
    m_basePoint = corner;
    m_baseVector = side;
}

// The drag of the drawing tool: the two clicks are opposite corners and the sides follow angle. The drag
// is measured along the two side directions; the base corner is the one at the lower end of both, so a
// drag in any direction gives the same rectangle with the same counter-clockwise outline. A drag with no
// extent along the first side leaves a zero-length rectangle with ratio 0.
RectHolePattern::RectHolePattern(const Point2D& corner, const Point2D& oppositeCorner, double angle) {
    const Vector2D along(std::cos(angle), std::sin(angle));
    const Vector2D across = along.Orthogonal();
    const Vector2D drag = oppositeCorner - corner;
    const double s = drag.DotProduct(along);
    const double t = drag.DotProduct(across);
    m_basePoint = corner + along * std::min(s, 0.0) + across * std::min(t, 0.0);
    m_baseVector = along * std::fabs(s);
    m_orthoRatio = std::fabs(s) > kGeomZeroLength ? std::fabs(t) / std::fabs(s) : 0.0;
}

RectHolePattern::RectHolePattern(DataID id, const Point2D& corner, const Vector2D& side, double orthoRatio)
    : StdPatternBase(id), m_orthoRatio(orthoRatio) {
    m_basePoint = corner;
    m_baseVector = side;
}

double RectHolePattern::GetLength() const { return m_baseVector.Length(); }

void RectHolePattern::SetLength(double length) { m_baseVector = detail::WithLength(m_baseVector, length); }

double RectHolePattern::GetWidth() const { return GetLength() * m_orthoRatio; }

void RectHolePattern::SetWidth(double width) {
    const double length = GetLength();
    if (length > kGeomZeroLength) {
        m_orthoRatio = width / length;
    }
}

double RectHolePattern::GetAngle() const { return m_baseVector.Angle(); }

void RectHolePattern::SetAngle(double angle) {
    m_baseVector = detail::VectorAtAngle(GetLength(), angle);
}

double RectHolePattern::GetOrthoRatio() const { return m_orthoRatio; }

void RectHolePattern::SetOrthoRadio(double ratio) { m_orthoRatio = ratio; }

Vector2D RectHolePattern::GetWidthVector() const { return m_baseVector.Orthogonal() * m_orthoRatio; }

tagPatternType RectHolePattern::GetPatternType() const { return PAT_RECT_HOLE; }

int RectHolePattern::IsSmooth() const { return 0; }

Point2D RectHolePattern::GetStartPoint() const { return m_basePoint + GetWidthVector(); }

Point2D RectHolePattern::GetEndPoint() const { return m_basePoint + m_baseVector; }

// The four corners in outline order (counter-clockwise for a positive ratio, starting at the base
// corner), then the centre.
void RectHolePattern::GetSnapPoints(Point2DList& points) const {
    const Vector2D width = GetWidthVector();
    points.push_back(m_basePoint);
    points.push_back(m_basePoint + m_baseVector);
    points.push_back(m_basePoint + m_baseVector + width);
    points.push_back(m_basePoint + width);
    points.push_back(GetSymmetryPt());
}

void RectHolePattern::UpdateFrom(const IPatternPtr& other) {
    const RectHolePatternPtr rect = boost::dynamic_pointer_cast<RectHolePattern>(other);
    if (!rect) {
        return;
    }
    m_basePoint = rect->m_basePoint;
    m_baseVector = rect->m_baseVector;
    m_orthoRatio = rect->m_orthoRatio;
}

// Length, width and angle each agree within kStdShapeSizeTol (inclusive). The angles are compared as a
// signed difference reduced to (-pi, pi], so rectangles at pi and just above -pi count as turned alike.
int RectHolePattern::IsSameShape(const IPatternPtr& other) const {
    const RectHolePatternPtr rect = boost::dynamic_pointer_cast<RectHolePattern>(other);
    if (!rect) {
        return 0;
    }
    const double angleDiff = MathEx::GetSignedAng(GetAngle() - rect->GetAngle(), kArcAngleTol);
    return std::fabs(GetLength() - rect->GetLength()) <= kStdShapeSizeTol &&
                   std::fabs(GetWidth() - rect->GetWidth()) <= kStdShapeSizeTol &&
                   std::fabs(angleDiff) <= kStdShapeSizeTol
               ? 1
               : 0;
}

// Four lines, each from a point along a vector: along V from the corner, along the width vector from
// corner + V, back along -V from the opposite corner, back along the negated width vector to the corner.
Geom2DListPtr RectHolePattern::CalcBaseGeomList() const {
    const Vector2D width = GetWidthVector();
    const Point2D second = m_basePoint + m_baseVector;
    const Point2D third = second + width;
    const Point2D fourth = m_basePoint + width;
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Line2D>(m_basePoint, m_baseVector));
    geoms->push_back(boost::make_shared<Line2D>(second, width));
    geoms->push_back(boost::make_shared<Line2D>(third, -m_baseVector));
    geoms->push_back(boost::make_shared<Line2D>(fourth, -width));
    return geoms;
}

void RectHolePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Moves corner and first side with the matrix. The width vector is always the first side turned
// counter-clockwise, so after a reflection it would point to the wrong side of the first side; the
// rectangle is then re-anchored at the far end of its (reflected) first side with the side reversed,
// which covers exactly the reflected rectangle and keeps the outline counter-clockwise.
void RectHolePattern::Transform(const Matrix2D& matrix) {
    PatternBase::Transform(matrix);
    if (matrix.IsMirror() != 0) {
        m_basePoint = m_basePoint + m_baseVector;
        m_baseVector = -m_baseVector;
    }
}

Point2D RectHolePattern::GetSymmetryPt() const {
    return m_basePoint + m_baseVector / 2.0 + GetWidthVector() / 2.0;
}

// Grows (direction 0) or shrinks both sides by 2 * distance. The centre stays where it is, so every side
// moves by exactly distance and an array built on this rectangle keeps its copies in place. A shrink is
// refused when either side is at most 2 * distance (non-strict: a side of exactly 2 * distance would
// vanish). A zero-length rectangle has no side direction to grow along and is refused as well.
int RectHolePattern::OffsetStdPat(int direction, double distance) {
    const double length = GetLength();
    const double width = GetWidth();
    if (direction != 0 && (length <= 2.0 * distance || width <= 2.0 * distance)) {
        return 0;
    }
    if (length <= kGeomZeroLength) {
        return 0;
    }
    const double delta = direction == 0 ? distance : -distance;
    const Vector2D along = m_baseVector / length;
    const double newLength = length + 2.0 * delta;
    const double newWidth = width + 2.0 * delta;
    m_basePoint = m_basePoint - (along + along.Orthogonal()) * delta;
    m_baseVector = along * newLength;
    m_orthoRatio = newWidth / newLength;
    return 1;
}

DataProperty RectHolePattern::GetProperty() const {
    DataProperty property = detail::TitledProperty(kResRectHoleTypeName);
    detail::AddValueItem(property, kPropShapeCornerX, m_basePoint.x);
    detail::AddValueItem(property, kPropShapeCornerY, m_basePoint.y);
    detail::AddValueItem(property, kPropShapeLength, GetLength());
    detail::AddValueItem(property, kPropShapeWidth, GetWidth());
    detail::AddValueItem(property, kPropShapeAngle, GetAngle() * kDegPerRad);
    return property;
}

// Applies one edited value (the angle arrives in degrees). The corner stays put under every edit. Unknown
// items are ignored; the cache is left stale.
void RectHolePattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropShapeCornerX: m_basePoint.x = value; break;
        case kPropShapeCornerY: m_basePoint.y = value; break;
        case kPropShapeLength: SetLength(value); break;
        case kPropShapeWidth: SetWidth(value); break;
        case kPropShapeAngle: SetAngle(value * kRadPerDeg); break;
        default: break;
    }
}

IDataPtr RectHolePattern::Clone() const {
    auto copy = boost::make_shared<RectHolePattern>(m_basePoint, m_baseVector, m_orthoRatio);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
