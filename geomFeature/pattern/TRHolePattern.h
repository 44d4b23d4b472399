#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// An isosceles triangular hole. The base point is the midpoint c of the base side; the base vector V is
// the base side, running from c - V/2 to c + V/2 (length L, angle = rotation). The apex stands at height
// H = L * orthoRatio on the left of V: apex = c + height vector, the height vector being V turned a
// quarter turn counter-clockwise and rescaled to H. With a positive ratio the outline (base, right side,
// left side) runs counter-clockwise. The point of symmetry is the centre of the inscribed circle.
class GF_API TRHolePattern : public StdPatternBase, public boost::enable_shared_from_this<TRHolePattern> {
public:
    TRHolePattern();  // base (-0.5,0)..(0.5,0), height 1
    TRHolePattern(const Point2D& baseMid, double angle, double baseLength, double height);
    TRHolePattern(const Point2D& baseMid, const Vector2D& base, double orthoRatio);
    TRHolePattern(DataID id, const Point2D& baseMid, const Vector2D& base, double orthoRatio);  // loader

    double GetLength() const;        // base length L
    void SetLength(double length);   // rescales the base; the height follows the ratio
    double GetHeight() const;        // H = L * ratio
    void SetHeight(double height);   // ratio = height / L (ignored while the base has no length)
    double GetAngle() const;         // angle of the base side, in (-pi, pi]
    void SetAngle(double angle);     // base = (L, 0) turned by angle, about the base midpoint
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    Vector2D GetHeightVector() const;  // from the base midpoint to the apex
    Point2D GetApex() const;
    // Radius of the inscribed circle, L*H / (L + 2s) with s the length of each equal side.
    double GetInscribedRadius() const;

    tagPatternType GetPatternType() const override;
    int IsSmooth() const override;
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

using TRHolePatternPtr = boost::shared_ptr<TRHolePattern>;

}  // namespace Norvane
