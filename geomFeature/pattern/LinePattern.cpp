#include "geomFeature/pattern/LinePattern.h"

#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

double Manhattan(const Point2D& a, const Point2D& b) { return std::fabs(a.x - b.x) + std::fabs(a.y - b.y); }

}  // namespace

LinePattern::LinePattern() = default;

LinePattern::LinePattern(const Point2D& start, const Vector2D& vector) {
    m_basePoint = start;
    m_baseVector = vector;
}

LinePattern::LinePattern(const Point2D& start, const Point2D& end) {
    m_basePoint = start;
    m_baseVector = end - start;
}

LinePattern::LinePattern(DataID id, const Point2D& start, const Vector2D& vector) : PatternBase(id) {
    m_basePoint = start;
    m_baseVector = vector;
}

double LinePattern::GetLength() const { return m_baseVector.Length(); }

int LinePattern::MergeWith(const IPatternPtr& other, double tolerance) {
    const LinePatternPtr line = boost::dynamic_pointer_cast<LinePattern>(other);
    if (!line) {
        return 0;
    }
    Line2D mine(GetStartPoint(), GetEndPoint());
    const Line2D theirs(line->GetStartPoint(), line->GetEndPoint());
    const int merged = mine.MergeWith(theirs, tolerance);
    if (merged != 0) {
        SetBasePoint(mine.GetStartPoint());
        SetEndPoint(mine.GetEndPoint());
    }
    return merged;
}

tagPatternType LinePattern::GetPatternType() const { return PAT_LINE; }

Point2D LinePattern::GetStartPoint() const { return m_basePoint; }

// Moves the start only: the end point stays where it was.
void LinePattern::SetStartPoint(const Point2D& point) {
    const Point2D end = GetEndPoint();
    SetBasePoint(point);
    SetEndPoint(end);
}

Point2D LinePattern::GetEndPoint() const { return m_basePoint + m_baseVector; }

void LinePattern::SetEndPoint(const Point2D& point) { m_baseVector = point - m_basePoint; }

// Start, midpoint, end.
void LinePattern::GetSnapPoints(Point2DList& points) const {
    points.push_back(m_basePoint);
    points.push_back(m_basePoint + m_baseVector / 2.0);
    points.push_back(GetEndPoint());
}

// Distance to the closed segment A = start, B = end. Beyond A (projection parameter <= 0, which also
// covers a zero-length line) it is |p - A|; strictly between the ends the perpendicular distance;
// otherwise |p - B|.
double LinePattern::DistanceTo(const Point2D& point) const {
    const Point2D a = GetStartPoint();
    const Point2D b = GetEndPoint();
    const Vector2D ab = b - a;
    const Vector2D ap = point - a;
    if (ap.DotProduct(ab) <= 0.0) {  // non-strict: the foot at A itself is measured from A
        return point.DistanceTo(a);
    }
    if ((a - b).DotProduct(point - b) > 0.0) {
        return std::fabs(ap.CrossProduct(ab)) / ab.Length();
    }
    return point.DistanceTo(b);
}

void LinePattern::UpdateFrom(const IPatternPtr& other) {
    const LinePatternPtr line = boost::dynamic_pointer_cast<LinePattern>(other);
    if (!line) {
        return;
    }
    m_basePoint = line->m_basePoint;
    m_baseVector = line->m_baseVector;
}

// Same segment, in either direction: both pairs of corresponding ends closer than the duplicate
// tolerance in Manhattan distance (strict: a sum of exactly 0.0001 is not a duplicate).
int LinePattern::IsDuplicate(const IPatternPtr& other) const {
    const LinePatternPtr line = boost::dynamic_pointer_cast<LinePattern>(other);
    if (!line) {
        return 0;
    }
    const Point2D s = GetStartPoint();
    const Point2D e = GetEndPoint();
    const Point2D os = line->GetStartPoint();
    const Point2D oe = line->GetEndPoint();
    if (Manhattan(s, os) < kPatDuplicateTol && Manhattan(e, oe) < kPatDuplicateTol) {
        return 1;
    }
    if (Manhattan(s, oe) < kPatDuplicateTol && Manhattan(e, os) < kPatDuplicateTol) {
        return 1;
    }
    return 0;
}

Geom2DListPtr LinePattern::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    geoms->push_back(boost::make_shared<Line2D>(m_basePoint, m_baseVector));
    return geoms;
}

void LinePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

DataProperty LinePattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResLineTypeName)));
    const Point2D end = GetEndPoint();
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineStartX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineStartY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineEndX, end.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineEndY, end.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineLength, GetLength()));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropLineAngle, m_baseVector.Angle() * kDegPerRad));
    return property;
}

// Applies one edited value. Editing the start moves the whole line (the vector stays); editing the end
// moves only the end. Unknown items are ignored; the cache is left stale.
void LinePattern::UpdateProperty(DataPropItem& item) {
    const double value = item.GetDouble();
    switch (item.GetItemID()) {
        case kPropLineStartX: m_basePoint.x = value; break;
        case kPropLineStartY: m_basePoint.y = value; break;
        case kPropLineEndX: m_baseVector.x = value - m_basePoint.x; break;
        case kPropLineEndY: m_baseVector.y = value - m_basePoint.y; break;
        case kPropLineLength: m_baseVector.Magnitude(value); break;
        case kPropLineAngle: {
            Vector2D v(GetLength(), 0.0);
            v.Rotate(value * kRadPerDeg);
            m_baseVector = v;
            break;
        }
        default: break;
    }
}

// Same geometry with a fresh identity, empty cache and default layer/colour; stays linked to the same
// arrays and seeds through shared relation objects.
IDataPtr LinePattern::Clone() const {
    auto copy = boost::make_shared<LinePattern>(m_basePoint, m_baseVector);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
