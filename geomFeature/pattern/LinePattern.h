#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/PatternBase.h"

namespace Norvane {

// A straight segment. The base point is its start, the base vector runs from start to end (its length
// is the line's length, its angle the line's direction). The outline is one Line2D.
class GF_API LinePattern : public PatternBase, public boost::enable_shared_from_this<LinePattern> {
public:
    LinePattern();  // (0,0) to (1,0)
    LinePattern(const Point2D& start, const Vector2D& vector);
    LinePattern(const Point2D& start, const Point2D& end);
    LinePattern(DataID id, const Point2D& start, const Vector2D& vector);  // loader: keeps the identifier

    double GetLength() const;
    // Joins other into this line when the kernel finds both on one line (within tolerance) and
    // overlapping or touching; this line then spans the union. Answers the kernel's verdict.
    int MergeWith(const IPatternPtr& other, double tolerance);

    tagPatternType GetPatternType() const override;
    Point2D GetStartPoint() const override;
    void SetStartPoint(const Point2D& point) override;
    Point2D GetEndPoint() const override;
    void SetEndPoint(const Point2D& point) override;
    void GetSnapPoints(Point2DList& points) const override;
    double DistanceTo(const Point2D& point) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsDuplicate(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;
};

using LinePatternPtr = boost::shared_ptr<LinePattern>;

}  // namespace Norvane
