#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/ArrayPatBase.h"

namespace Norvane {

class PatLinePattern;

// Copies of the seed on a rectangular grid whose axes are the drawing axes. The base point is the first
// copy's place; copy (column c, row r) stands at basePoint + (c * columnSpace, r * rowSpace). The copies
// after the first run column by column in a serpentine: up the even columns, down the odd ones.
class GF_API PatGridPattern : public ArrayPatBase, public boost::enable_shared_from_this<PatGridPattern> {
public:
    PatGridPattern(const Point2D& basePoint, double rowSpace, int rowCount, double columnSpace,
                   int columnCount);
    PatGridPattern(const PatRelationListPtr& relations, const Point2D& basePoint, double rowSpace,
                   int rowCount, double columnSpace, int columnCount);
    PatGridPattern(DataID id, const Point2D& basePoint, double rowSpace, int rowCount, double columnSpace,
                   int columnCount);

    double GetRowSpace() const;
    void SetRowSpace(double space);
    int GetRowCount() const;
    void SetRowCount(int count);
    double GetColumnSpace() const;
    void SetColumnSpace(double space);
    int GetColumnCount() const;
    void SetColumnCount(int count);

    // Takes a whole column, given as a line array, as the next column of the grid: answers 1 (one more
    // column) when the row points straight up, stands columnSpace * columnCount from the base point and
    // has the grid's row count and row spacing; else 0 with nothing changed.
    int AddPatternLine(const boost::shared_ptr<PatLinePattern>& line);

    tagPatternType GetPatternType() const override;
    Matrix2D GetFirstInstMat() const override;
    RepeatDataPtr GetRepeatData() const override;
    void GetSnapPoints(Point2DList& points) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void UpdateFrom(const IPatternPtr& other) override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    // Moves the base point by m and scales both spacings by m's first coefficient: the grid's axes stay
    // parallel to the drawing axes whatever m turns.
    void Transform(const Matrix2D& matrix) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    double m_rowSpace = 0.0;
    int m_rowCount = 1;
    double m_columnSpace = 0.0;
    int m_columnCount = 1;
};

using PatGridPatternPtr = boost::shared_ptr<PatGridPattern>;

}  // namespace Norvane
