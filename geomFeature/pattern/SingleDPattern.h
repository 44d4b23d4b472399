#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A single-D hole: a circle with one straight flat. The base point is the centre; the base vector V has the
// radius R as its length and the shape's rotation θ as its angle. The flat lies on the right of V: it is
// perpendicular to the direction θ - π/2, at distance t = R * orthoRatio from the centre. The size across
// the flat (the width) is R + t.
class GF_API SingleDPattern : public StdPatternBase, public boost::enable_shared_from_this<SingleDPattern> {
public:
    SingleDPattern();  // centre (0, 0), R = 1, t = 0.5, angle 0
    SingleDPattern(const Point2D& centre, double radius, double toChord, double angle);
    SingleDPattern(DataID id, const Point2D& centre, double radius, double toChord, double angle);  // loader

    double GetRadius() const;
    // Rescales V; the ratio stays, so the flat keeps its relative place.
    void SetRadius(double radius);
    double GetToChord() const;
    // Places the flat at distance toChord from the centre (through the ratio). R zero: unchanged.
    void SetToChord(double toChord);
    double GetWidth() const;
    // Sets the size across the flat, R + t, by moving the flat. R zero: unchanged.
    void SetWidth(double width);
    double GetAngle() const;
    // Turns V to angle, keeping R.
    void SetAngle(double angle);
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    // V turned a quarter turn counter-clockwise and rescaled to t; the middle of the flat is centre minus it.
    Vector2D GetToChordVector() const;

    tagPatternType GetPatternType() const override;
    int IsSmooth() const override;
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    // Moves centre and V with the matrix; after a reflection V is reversed so that the flat, always on the
    // right of V, stays where the reflection puts it.
    void Transform(const Matrix2D& matrix) override;
    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    double m_orthoRatio = 0.5;  // t / R
};

using SingleDPatternPtr = boost::shared_ptr<SingleDPattern>;

}  // namespace Norvane
