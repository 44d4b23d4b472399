#include "geomFeature/pattern/PatLinePattern.h"

#include <cmath>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

// The step of the given length in the given direction. Stored arrays are rebuilt from (space, angle),
// so every way of setting the step from those two goes through this one formula.
Vector2D StepOf(double space, double angle) {
    return Vector2D(space * std::cos(angle), space * std::sin(angle));
}

}  // namespace

PatLinePattern::PatLinePattern(const Point2D& basePoint, double space, double angle, int repeatNum)
    : PatLinePattern(basePoint, StepOf(space, angle), repeatNum) {}

PatLinePattern::PatLinePattern(const Point2D& basePoint, const Vector2D& step, int repeatNum)
    : m_repeatNum(repeatNum) {
    m_basePoint = basePoint;
    m_baseVector = step;
}

PatLinePattern::PatLinePattern(const PatRelationListPtr& relations, const Point2D& basePoint, double space,
                               double angle, int repeatNum)
    : PatLinePattern(relations, basePoint, StepOf(space, angle), repeatNum) {}

PatLinePattern::PatLinePattern(const PatRelationListPtr& relations, const Point2D& basePoint,
                               const Vector2D& step, int repeatNum)
    : ArrayPatBase(relations), m_repeatNum(repeatNum) {
    m_basePoint = basePoint;
    m_baseVector = step;
}

PatLinePattern::PatLinePattern(DataID id, const Point2D& basePoint, double space, double angle, int repeatNum)
    : PatLinePattern(id, basePoint, StepOf(space, angle), repeatNum) {}

PatLinePattern::PatLinePattern(DataID id, const Point2D& basePoint, const Vector2D& step, int repeatNum)
    : ArrayPatBase(id), m_repeatNum(repeatNum) {
    m_basePoint = basePoint;
    m_baseVector = step;
}

double PatLinePattern::GetSpace() const {
    return m_baseVector.Length();
}

// A zero step has no direction of its own; it takes the direction its angle reports (0, along +x).
void PatLinePattern::SetSpace(double space) {
    if (m_baseVector.Length() > 0.0) {
        m_baseVector.Magnitude(space);
    } else {
        m_baseVector = StepOf(space, GetAngle());
    }
}

double PatLinePattern::GetAngle() const {
    return m_baseVector.Angle();
}

void PatLinePattern::SetAngle(double angle) {
    m_baseVector = StepOf(GetSpace(), angle);
}

double PatLinePattern::GetXSpace() const {
    return m_baseVector.x;
}

void PatLinePattern::SetXSpace(double x) {
    m_baseVector.x = x;
}

double PatLinePattern::GetYSpace() const {
    return m_baseVector.y;
}

void PatLinePattern::SetYSpace(double y) {
    m_baseVector.y = y;
}

int PatLinePattern::GetRepeatNum() const {
    return m_repeatNum;
}

void PatLinePattern::SetRepeatNum(int repeatNum) {
    m_repeatNum = repeatNum;
}

// pat is the next copy when, seen from the first copy's place, it lies in the step's direction and
// repeatNum steps away. The direction is compared as the turn from the step to the offset, so a row
// running along -x (angle pi) also accepts an offset whose atan2 came out just above -pi. Both
// comparisons are inclusive.
int PatLinePattern::AddPattern(const IPatternPtr& pat) {
    if (IsCopyOfControl(pat) == 0) {
        return 0;
    }
    const Vector2D offset = pat->GetBasePoint() - m_basePoint;
    if (std::fabs(m_baseVector.AngleTo(offset)) > kArrayCopyMatchTol) {
        return 0;
    }
    if (std::fabs(offset.Length() - m_repeatNum * GetSpace()) > kArrayCopyMatchTol) {
        return 0;
    }
    ++m_repeatNum;
    return 1;
}

tagPatternType PatLinePattern::GetPatternType() const {
    return PAT_LINE_ARRAY;
}

Matrix2D PatLinePattern::GetFirstInstMat() const {
    return Translation(m_basePoint - ControlBasePoint());
}

// Copy i (i >= 1) is the first copy moved by i steps.
RepeatDataPtr PatLinePattern::GetRepeatData() const {
    std::vector<Matrix2D> matrices;
    for (int i = 1; i < m_repeatNum; ++i) {
        matrices.push_back(Translation(m_baseVector * i));
    }
    auto data = boost::make_shared<RepeatData>();
    data->SetMatrix(matrices);
    return data;
}

// The first copy's place, the last copy's place, the second copy's place.
void PatLinePattern::GetSnapPoints(Point2DList& points) const {
    points.push_back(m_basePoint);
    points.push_back(m_basePoint + m_baseVector * (m_repeatNum - 1));
    points.push_back(m_basePoint + m_baseVector);
}

// Every copy's outline, first copy first: the seed's outline moved onto the row, then i steps along.
Geom2DListPtr PatLinePattern::CalcBaseGeomList() const {
    const Vector2D toFirst = m_basePoint - ControlBasePoint();
    std::vector<Vector2D> moves;
    for (int i = 0; i < m_repeatNum; ++i) {
        moves.push_back(toFirst + m_baseVector * i);
    }
    return RepeatControlGeometry(moves);
}

void PatLinePattern::UpdateFrom(const IPatternPtr& other) {
    const PatLinePatternPtr row = boost::dynamic_pointer_cast<PatLinePattern>(other);
    if (!row) {
        return;
    }
    m_basePoint = row->m_basePoint;
    m_baseVector = row->m_baseVector;
    m_repeatNum = row->m_repeatNum;
}

void PatLinePattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

DataProperty PatLinePattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(
        DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResLineArrayTypeName)));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayAngle, GetAngle() * kDegPerRad));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayXSpace, m_baseVector.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayYSpace, m_baseVector.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArraySpace, GetSpace()));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayCount, m_repeatNum));
    return property;
}

// Applies one edited value. A count below one copy is ignored (an array always shows its seed at least
// once); unknown items are ignored; the cache is left stale.
void PatLinePattern::UpdateProperty(DataPropItem& item) {
    switch (item.GetItemID()) {
        case kPropArrayBaseX:
            m_basePoint.x = item.GetDouble();
            break;
        case kPropArrayBaseY:
            m_basePoint.y = item.GetDouble();
            break;
        case kPropArrayAngle:
            SetAngle(item.GetDouble() * kRadPerDeg);
            break;
        case kPropArrayXSpace:
            m_baseVector.x = item.GetDouble();
            break;
        case kPropArrayYSpace:
            m_baseVector.y = item.GetDouble();
            break;
        case kPropArraySpace:
            SetSpace(item.GetDouble());
            break;
        case kPropArrayCount:
            if (item.GetInt() >= 1) {
                m_repeatNum = item.GetInt();
            }
            break;
        default:
            break;
    }
}

// Same row with a fresh identity; the relations are shared, so the copy still names the same seed until
// its owner rewires it.
IDataPtr PatLinePattern::Clone() const {
    auto copy = boost::make_shared<PatLinePattern>(m_basePoint, m_baseVector, m_repeatNum);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
