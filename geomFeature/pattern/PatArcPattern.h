#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/ArrayPatBase.h"

namespace Norvane {

// Copies of the seed along an arc. The base point is the arc's centre, the base vector the unit vector
// at the start angle. Copy i stands at centre + radius * (cos a_i, sin a_i), a_i = start + i * repeatAngle
// (repeatAngle is signed: positive counter-clockwise). Copies are moved, not turned.
class GF_API PatArcPattern : public ArrayPatBase, public boost::enable_shared_from_this<PatArcPattern> {
public:
    PatArcPattern(const Point2D& centre, double radius, double startAngle, double repeatAngle, int repeatNum);
    // Only the direction of startVector counts.
    PatArcPattern(const Point2D& centre, const Vector2D& startVector, double radius, double repeatAngle,
                  int repeatNum);
    PatArcPattern(const PatRelationListPtr& relations, const Point2D& centre, double radius,
                  double startAngle, double repeatAngle, int repeatNum);
    PatArcPattern(const PatRelationListPtr& relations, const Point2D& centre, const Vector2D& startVector,
                  double radius, double repeatAngle, int repeatNum);
    PatArcPattern(DataID id, const Point2D& centre, double radius, double startAngle, double repeatAngle,
                  int repeatNum);
    PatArcPattern(DataID id, const Point2D& centre, const Vector2D& startVector, double radius,
                  double repeatAngle, int repeatNum);

    double GetRadius() const;
    void SetRadius(double radius);
    double GetStartAngle() const;  // in (-pi, pi]
    void SetStartAngle(double angle);
    double GetRepeatAngle() const;
    void SetRepeatAngle(double angle);
    int GetRepeatNum() const;
    void SetRepeatNum(int repeatNum);
    // Signed sweep from the first copy to the last: repeatAngle * (repeatNum - 1).
    double GetMoveAngle() const;
    // Spreads the copies over the sweep moveAngle. Needs at least two copies; with fewer it does nothing.
    void SetMoveAngle(double moveAngle);
    // A new, free pattern: the last copy (like GetFirstInst). Empty when there is no seed.
    IPatternPtr GetLastInst() const;

    // Takes pat as one more copy at either end of the arc. pat must have the seed's type and shape and
    // lie on the array's circle; one repeatAngle beyond the last copy it is appended (atEnd = 1), one
    // repeatAngle before the first copy it becomes the new first copy (atEnd = 0). Answers 1 when taken,
    // else 0 with nothing changed; atEnd is 0 unless pat was appended.
    int AddPattern(const IPatternPtr& pat, int& atEnd);

    tagPatternType GetPatternType() const override;
    Matrix2D GetFirstInstMat() const override;
    RepeatDataPtr GetRepeatData() const override;
    void GetSnapPoints(Point2DList& points) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void UpdateFrom(const IPatternPtr& other) override;
    void Accept(const IPatternVisitorPtr& visitor) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    void Init(const Point2D& centre, const Vector2D& startVector, double radius, double repeatAngle,
              int repeatNum);

    double m_radius = 0.0;
    double m_repeatAngle = 0.0;
    int m_repeatNum = 1;
};

using PatArcPatternPtr = boost::shared_ptr<PatArcPattern>;

}  // namespace Norvane
