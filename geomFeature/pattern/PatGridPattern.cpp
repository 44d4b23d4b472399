#include "geomFeature/pattern/PatGridPattern.h"

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
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

PatGridPattern::PatGridPattern(const Point2D& basePoint, double rowSpace, int rowCount, double columnSpace,
                               int columnCount)
    : m_rowSpace(rowSpace), m_rowCount(rowCount), m_columnSpace(columnSpace), m_columnCount(columnCount) {
    m_basePoint = basePoint;
}

PatGridPattern::PatGridPattern(const PatRelationListPtr& relations, const Point2D& basePoint, double rowSpace,
                               int rowCount, double columnSpace, int columnCount)
    : ArrayPatBase(relations),
      m_rowSpace(rowSpace),
      m_rowCount(rowCount),
      m_columnSpace(columnSpace),
      m_columnCount(columnCount) {
    m_basePoint = basePoint;
}

PatGridPattern::PatGridPattern(DataID id, const Point2D& basePoint, double rowSpace, int rowCount,
                               double columnSpace, int columnCount)
    : ArrayPatBase(id),
      m_rowSpace(rowSpace),
      m_rowCount(rowCount),
      m_columnSpace(columnSpace),
      m_columnCount(columnCount) {
    m_basePoint = basePoint;
}

double PatGridPattern::GetRowSpace() const {
    return m_rowSpace;
}

void PatGridPattern::SetRowSpace(double space) {
    m_rowSpace = space;
}

int PatGridPattern::GetRowCount() const {
    return m_rowCount;
}

void PatGridPattern::SetRowCount(int count) {
    m_rowCount = count;
}

double PatGridPattern::GetColumnSpace() const {
    return m_columnSpace;
}

void PatGridPattern::SetColumnSpace(double space) {
    m_columnSpace = space;
}

int PatGridPattern::GetColumnCount() const {
    return m_columnCount;
}

void PatGridPattern::SetColumnCount(int count) {
    m_columnCount = count;
}

// A grid grows by whole columns to its right as recognition finds them. The column must point straight
// up (angle within kGridColumnUpTol of pi/2, inclusive) and stand at the next column's distance from the
// base point (inclusive tolerance; only the distance is checked, the column's side is the caller's).
// Its count must equal the grid's row count, and its step's y the row spacing EXACTLY: columns and
// grid are built from the same measured spacing, so anything else is a different grid.
int PatGridPattern::AddPatternLine(const boost::shared_ptr<PatLinePattern>& line) {
    if (!line) {
        return 0;
    }
    if (std::fabs(line->GetAngle() - MathEx::PI / 2.0) > kGridColumnUpTol) {
        return 0;
    }
    const double distance = m_basePoint.DistanceTo(line->GetBasePoint());
    if (std::fabs(distance - m_columnSpace * m_columnCount) > kArrayCopyMatchTol) {
        return 0;
    }
    if (line->GetRepeatNum() != m_rowCount || line->GetYSpace() != m_rowSpace) {  // exact on purpose
        return 0;
    }
    ++m_columnCount;
    return 1;
}

tagPatternType PatGridPattern::GetPatternType() const {
    return PAT_GRID_ARRAY;
}

Matrix2D PatGridPattern::GetFirstInstMat() const {
    return Translation(m_basePoint - ControlBasePoint());
}

// Serpentine order: column 0 upwards from row 1, column 1 downwards from the top row, column 2 upwards
// from row 0, and so on; so consecutive copies are always neighbours (a tool head never jumps back).
RepeatDataPtr PatGridPattern::GetRepeatData() const {
    std::vector<Matrix2D> matrices;
    for (int c = 0; c < m_columnCount; ++c) {
        const bool upwards = (c % 2) == 0;
        for (int k = 0; k < m_rowCount; ++k) {
            const int r = upwards ? k : m_rowCount - 1 - k;
            if (c == 0 && r == 0) {
                continue;  // the first copy itself
            }
            matrices.push_back(Translation(Vector2D(c * m_columnSpace, r * m_rowSpace)));
        }
    }
    auto data = boost::make_shared<RepeatData>();
    data->SetMatrix(matrices);
    return data;
}

// The first copy's place, then the other three corner copies counter-clockwise (for positive spacings):
// bottom right, top right, top left. A grid of one row or one column repeats corners.
void PatGridPattern::GetSnapPoints(Point2DList& points) const {
    const double right = (m_columnCount - 1) * m_columnSpace;
    const double top = (m_rowCount - 1) * m_rowSpace;
    points.push_back(m_basePoint);
    points.push_back(m_basePoint + Vector2D(right, 0.0));
    points.push_back(m_basePoint + Vector2D(right, top));
    points.push_back(m_basePoint + Vector2D(0.0, top));
}

// The first copy's outline followed by one moved copy of it per repeat matrix, in serpentine order.
Geom2DListPtr PatGridPattern::CalcBaseGeomList() const {
    auto result = boost::make_shared<Geom2DList>();
    const IPatternPtr first = GetFirstInst();
    if (!first) {
        return result;
    }
    const Geom2DListPtr firstGeoms = first->GetCacheData()->GetBaseGeom();
    if (!firstGeoms) {
        return result;
    }
    result->Append(*firstGeoms->Clone());
    const RepeatDataPtr repeats = GetRepeatData();  // held: the loop must not outlive it
    for (const Matrix2D& m : *repeats) {
        const Geom2DListPtr copy = firstGeoms->Clone();
        copy->Transform(m);
        result->Append(*copy);
    }
    return result;
}

void PatGridPattern::UpdateFrom(const IPatternPtr& other) {
    const PatGridPatternPtr grid = boost::dynamic_pointer_cast<PatGridPattern>(other);
    if (!grid) {
        return;
    }
    m_basePoint = grid->m_basePoint;
    m_baseVector = grid->m_baseVector;
    m_rowSpace = grid->m_rowSpace;
    m_rowCount = grid->m_rowCount;
    m_columnSpace = grid->m_columnSpace;
    m_columnCount = grid->m_columnCount;
}

void PatGridPattern::Accept(const IPatternVisitorPtr& visitor) {
    if (visitor) {
        visitor->Visit(shared_from_this());
    }
}

// Only m.a scales the spacings: moves and uniform scales carry every copy onto its image exactly, while a
// turn moves the base point but keeps the grid's axes on the drawing axes (a quarter turn, a = 0, even
// collapses the spacings). The seed is not touched; callers transform it themselves.
void PatGridPattern::Transform(const Matrix2D& matrix) {
    m_basePoint *= matrix;
    m_rowSpace *= matrix.a;
    m_columnSpace *= matrix.a;
}

DataProperty PatGridPattern::GetProperty() const {
    DataProperty property;
    property.AddProperty(
        DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(kResGridArrayTypeName)));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseX, m_basePoint.x));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayBaseY, m_basePoint.y));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayYSpace, m_rowSpace));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropArrayXSpace, m_columnSpace));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropGridRowCount, m_rowCount));
    property.AddProperty(DataPropItem(kPropGroupValues, kPropGridColumnCount, m_columnCount));
    return property;
}

// Applies one edited value; counts below one and unknown items are ignored; the cache is left stale.
void PatGridPattern::UpdateProperty(DataPropItem& item) {
    switch (item.GetItemID()) {
        case kPropArrayBaseX:
            m_basePoint.x = item.GetDouble();
            break;
        case kPropArrayBaseY:
            m_basePoint.y = item.GetDouble();
            break;
        case kPropArrayYSpace:
            m_rowSpace = item.GetDouble();
            break;
        case kPropArrayXSpace:
            m_columnSpace = item.GetDouble();
            break;
        case kPropGridRowCount:
            if (item.GetInt() >= 1) {
                m_rowCount = item.GetInt();
            }
            break;
        case kPropGridColumnCount:
            if (item.GetInt() >= 1) {
                m_columnCount = item.GetInt();
            }
            break;
        default:
            break;
    }
}

// Same grid with a fresh identity; the relations are shared until the owner rewires the copy.
IDataPtr PatGridPattern::Clone() const {
    auto copy =
        boost::make_shared<PatGridPattern>(m_basePoint, m_rowSpace, m_rowCount, m_columnSpace, m_columnCount);
    UpdateRelation(copy);
    return copy;
}

}  // namespace Norvane
