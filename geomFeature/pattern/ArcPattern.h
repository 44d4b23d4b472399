#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Direction.h"
#include "geomFeature/pattern/PatternBase.h"

namespace Norvane {

// A circular arc. The base point is the centre; the base vector runs from the centre to the start point
// (length = radius, angle = start angle). The sweep ("move angle", signed, CCW positive) is not stored:
// it is twice the signed angle from the base vector to the mid vector, which points at the middle of the
// arc. A half-angle cannot express a full turn, so full circles are flagged, with their turning sense
// kept in fullDirection (DIR_CCW for +2*pi, DIR_CW for -2*pi). The outline is one Arc2D.
class GF_API ArcPattern : public PatternBase, public boost::enable_shared_from_this<ArcPattern> {
public:
    ArcPattern();  // centre (0,0), radius 1, start angle 0, sweep 0
    ArcPattern(const Point2D& centre, double radius, double startAngle, double moveAngle);
    ArcPattern(DataID id, const Point2D& centre, double radius, double startAngle, double moveAngle);
    ArcPattern(const Point2D& centre, const Vector2D& baseVector, const Vector2D& midVector, int isFullCircle,
               tagDirection fullDirection);

    double GetRadius() const;
    void SetRadius(double radius);  // rescales the base vector; the mid vector's direction is all that counts
    double GetStartAngle() const;   // in (-pi, pi]
    // Turns the arc about its centre so that it starts at angle; the sweep stays.
    void SetStartAngle(double angle);
    double GetEndAngle() const;     // start + move angle, not normalised
    double GetMoveAngle() const;
    // Sets the sweep from the current start; within 1e-9 of +/-2*pi the arc becomes a full circle.
    void SetMoveAngle(double moveAngle);
    const Vector2D& GetMidVector() const;
    Point2D GetMiddlePoint() const;
    int IsFullCircle() const;
    tagDirection GetFullDirection() const;
    // Joins other into this arc when the kernel finds both on one circle, overlapping or touching.
    int MergeWith(const IPatternPtr& other);

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
    void Transform(const Matrix2D& matrix) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    void Construct(const Point2D& centre, double radius, double startAngle, double moveAngle);
    // Points the mid vector (already equal to the base vector) half way along sweep moveAngle and sets
    // the full-circle fields.
    void ApplyMoveAngle(double moveAngle);
    Point2D PointAtAngle(double angle) const;

    Vector2D m_midVector{1.0, 0.0};
    int m_isFullCircle = 0;
    tagDirection m_fullDirection = DIR_CCW;
};

using ArcPatternPtr = boost::shared_ptr<ArcPattern>;

}  // namespace Norvane
