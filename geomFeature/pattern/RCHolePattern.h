#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A rectangular hole with rounded corners. The base point is the centre; the base vector V runs from the
// centre to the middle of one short side, so it is half the length: L = 2|V|, and its angle is the
// rotation. The width is W = L * orthoRatio (across V) and the corner radius r = |V| * arcRatio. The outline
// is eight elements, a quarter arc at each corner joined by the four straight sides.
class GF_API RCHolePattern : public StdPatternBase, public boost::enable_shared_from_this<RCHolePattern> {
public:
    RCHolePattern();  // centre (0,0), a 2 x 2 square with sharp corners
    RCHolePattern(const Point2D& centre, double length, double width, double cornerRadius, double angle);
    // Loader: keeps the identifier.
    RCHolePattern(DataID id, const Point2D& centre, double length, double width, double cornerRadius,
                  double angle);
    // The stored fields as they are (Clone uses it, so a copy is the same shape to the last bit).
    RCHolePattern(const Point2D& centre, const Vector2D& halfLength, double orthoRatio, double arcRatio);

    double GetLength() const;             // L = 2|V|
    void SetLength(double length);       // |V| = length / 2; width and corner radius follow their ratios
    double GetWidth() const;              // W = L * orthoRatio
    void SetWidth(double width);          // orthoRatio = width / L (ignored while L is zero)
    double GetArcRadius() const;          // r = |V| * arcRatio
    void SetArcRadius(double radius);     // arcRatio = radius / |V| (ignored while |V| is zero)
    double GetAngle() const;              // angle of V, in (-pi, pi]
    void SetAngle(double angle);          // V = (|V|, 0) turned by angle
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    double GetArcRatio() const;
    void SetArcRatio(double ratio);
    // V turned a quarter turn counter-clockwise and rescaled to half the width: from the centre to the
    // middle of a long side.
    Vector2D GetWidthVector() const;

    tagPatternType GetPatternType() const override;
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;

    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    void Construct(const Point2D& centre, double length, double width, double cornerRadius, double angle);

    double m_orthoRatio = 1.0;
    double m_arcRatio = 0.0;
};

using RCHolePatternPtr = boost::shared_ptr<RCHolePattern>;

}  // namespace Norvane
