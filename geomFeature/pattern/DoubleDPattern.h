#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A double-D hole: a circle with two parallel flats, symmetric about its centre. The base point is the
// centre; the base vector V has the radius R as its length and the shape's rotation θ as its angle. The
// flats run parallel to V, one on each side, at distance t = R * orthoRatio from the centre; the width, the
// distance between the flats, is 2t. V points at the middle of one of the two arcs.
class GF_API DoubleDPattern : public StdPatternBase, public boost::enable_shared_from_this<DoubleDPattern> {
public:
    DoubleDPattern();  // centre (0, 0), R = 1, t = 0.5, angle 0
    DoubleDPattern(const Point2D& centre, double radius, double toChord, double angle);
    DoubleDPattern(DataID id, const Point2D& centre, double radius, double toChord, double angle);  // loader

    double GetRadius() const;
    // Rescales V; the ratio stays, so the flats keep their relative place.
    void SetRadius(double radius);
    double GetToChord() const;
    // Places both flats at distance toChord from the centre (through the ratio). R zero: unchanged.
    void SetToChord(double toChord);
    double GetWidth() const;
    // Sets the distance between the flats, 2t, moving both. R zero: unchanged.
    void SetWidth(double width);
    double GetAngle() const;
    // Turns V to angle, keeping R.
    void SetAngle(double angle);
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    // V turned a quarter turn counter-clockwise and rescaled to t: from the centre to the middle of the flat on
    // the left of V (the other flat's middle is the centre minus it).
    Vector2D GetToChordVector() const;

    tagPatternType GetPatternType() const override;
    int IsSmooth() const override;
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
    double m_orthoRatio = 0.5;  // t / R
};

using DoubleDPatternPtr = boost::shared_ptr<DoubleDPattern>;

}  // namespace Norvane
