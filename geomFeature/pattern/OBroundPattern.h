#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// An obround (a straight slot with half-circle ends). The base point is the centre; the base vector V runs
// from the centre of one end arc to the centre of the other, so its length L is the distance between those
// centres (the overall length is L + W) and its angle the slot's rotation. The width W, the diameter of the
// end arcs, is L times orthoRatio.
class GF_API OBroundPattern : public StdPatternBase, public boost::enable_shared_from_this<OBroundPattern> {
public:
    OBroundPattern();  // centre (0, 0), V (1, 0), ratio 1
    OBroundPattern(const Point2D& centre, double angle, double length, double width);
    OBroundPattern(const Point2D& centre, const Vector2D& axis, double ratio);
    OBroundPattern(DataID id, const Point2D& centre, const Vector2D& axis, double ratio);  // loader

    double GetLength() const;
    // Rescales V; the ratio stays, so the width scales with it.
    void SetLength(double length);
    double GetWidth() const;
    // Sets the width through the ratio (width / L). With L zero there is no ratio to hold it: unchanged.
    void SetWidth(double width);
    double GetAngle() const;
    // Turns V to angle, keeping L.
    void SetAngle(double angle);
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    // V turned a quarter turn counter-clockwise and rescaled to half the width: from the centre to the
    // middle of the straight side on the left of V.
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
    double m_orthoRatio = 1.0;  // W / L
};

using OBroundPatternPtr = boost::shared_ptr<OBroundPattern>;

}  // namespace Norvane
