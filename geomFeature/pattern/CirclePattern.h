#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A full circle. The base point is the centre and the length of the base vector the radius; the vector's
// direction plays no part in the outline, which is one counter-clockwise full-turn arc starting at angle 0.
class GF_API CirclePattern : public StdPatternBase, public boost::enable_shared_from_this<CirclePattern> {
public:
    CirclePattern();  // centre (0, 0), radius 1
    CirclePattern(const Point2D& centre, double radius);
    CirclePattern(DataID id, const Point2D& centre, double radius);  // loader: keeps the identifier

    double GetRadius() const;
    // Rescales the base vector to radius, keeping its direction.
    void SetRadius(double radius);

    tagPatternType GetPatternType() const override;
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsDuplicate(const IPatternPtr& other) const override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;
};

using CirclePatternPtr = boost::shared_ptr<CirclePattern>;

}  // namespace Norvane
