#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// A slot that follows a circular arc (its centre line) with half-circle ends. The base point is the centre
// of that arc; the base vector points at the start of the centre line (length = its radius R, angle = its
// start angle). As for an arc pattern, the signed sweep (move angle) is twice the signed angle from the
// base vector to the mid vector, so it lies in (-2pi, 2pi]. The width is w = R * widthRatio; the inner
// edge has radius R - w/2, the outer edge R + w/2, and the end caps radius w/2.
class GF_API RadSlotPattern : public StdPatternBase, public boost::enable_shared_from_this<RadSlotPattern> {
public:
    RadSlotPattern();  // centre (0,0), radius 1, start angle 0, sweep 0, width 0
    RadSlotPattern(const Point2D& centre, double radius, double startAngle, double moveAngle, double width);
    RadSlotPattern(const Point2D& centre, const Vector2D& baseVector, const Vector2D& midVector,
                   double widthRatio);
    // Loader: keeps the identifier.
    RadSlotPattern(DataID id, const Point2D& centre, double radius, double startAngle, double moveAngle,
                   double width);

    double GetRadius() const;
    void SetRadius(double radius);  // rescales the base vector; the width follows the ratio
    double GetStartAngle() const;   // in (-pi, pi]
    // Turns the slot about its centre so that the centre line starts at angle; the sweep stays.
    void SetStartAngle(double angle);
    double GetEndAngle() const;     // start + move angle, not normalised
    double GetMoveAngle() const;
    // Sets the sweep from the current start (reduced into (-2pi, 2pi), sign kept).
    void SetMoveAngle(double moveAngle);
    const Vector2D& GetMidVector() const;
    double GetWidth() const;
    void SetWidth(double width);    // ratio = width / R (ignored while the radius is zero)
    double GetWidthRatio() const;
    void SetWidthRatio(double ratio);
    // Start, middle and end of the centre-line arc.
    Point2D GetCenterLineStart() const;
    Point2D GetCenterLineMiddle() const;
    Point2D GetCenterLineEnd() const;

    tagPatternType GetPatternType() const override;
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    void Transform(const Matrix2D& matrix) override;

    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    void Construct(const Point2D& centre, double radius, double startAngle, double moveAngle, double width);
    Point2D PointAtAngle(double angle) const;  // on the centre line

    Vector2D m_midVector{1.0, 0.0};
    double m_widthRatio = 0.0;
};

using RadSlotPatternPtr = boost::shared_ptr<RadSlotPattern>;

}  // namespace Norvane
