#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A rectangular hole. The base point is one corner; the base vector V is the first side, running from that
// corner (its length L is the rectangle's length, its angle the rotation). The second side is the width
// vector: V turned a quarter turn counter-clockwise and rescaled to W = L * orthoRatio, so with a positive
// ratio the outline runs counter-clockwise: corner, corner + V, corner + V + width vector, corner + width
// vector. The point of symmetry is the centre.
class GF_API RectHolePattern : public StdPatternBase, public boost::enable_shared_from_this<RectHolePattern> {
public:
    RectHolePattern();  // the unit square with its first corner at the origin
    RectHolePattern(const Point2D& corner, const Vector2D& side, double orthoRatio);
    // The rectangle turned by angle whose opposite corners are the two points, in either order. The base
    // corner becomes the one lowest along both sides, so the first side points along angle and the
    // outline runs counter-clockwise whichever way the user dragged.
    RectHolePattern(const Point2D& corner, const Point2D& oppositeCorner, double angle);
    RectHolePattern(DataID id, const Point2D& corner, const Vector2D& side, double orthoRatio);  // loader

    double GetLength() const;
    void SetLength(double length);  // rescales the first side; the width follows the ratio
    double GetWidth() const;
    void SetWidth(double width);    // ratio = width / length (ignored while the length is zero)
    double GetAngle() const;        // angle of the first side, in (-pi, pi]
    void SetAngle(double angle);    // first side = (length, 0) turned by angle; the corner stays
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    // The second side: V turned a quarter turn counter-clockwise, rescaled to the width.
    Vector2D GetWidthVector() const;

    tagPatternType GetPatternType() const override;
    int IsSmooth() const override;
    Point2D GetStartPoint() const override;  // corner + width vector
    Point2D GetEndPoint() const override;    // corner + V
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    void Transform(const Matrix2D& matrix) override;

    Point2D GetSymmetryPt() const override;
    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    double m_orthoRatio = 1.0;
};

using RectHolePatternPtr = boost::shared_ptr<RectHolePattern>;

}  // namespace Norvane
