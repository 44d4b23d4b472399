#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/ArrayPatBase.h"

namespace Norvane {

// Copies of the seed spread evenly round a full circle. The base point is the circle's centre, the base
// vector the unit vector at the start angle; copy i stands at angle start + i * 2pi / repeatNum, radius
// away from the centre. Copies are moved, not turned.
class GF_API PatCirclePattern : public ArrayPatBase, public boost::enable_shared_from_this<PatCirclePattern> {
public:
    PatCirclePattern(const Point2D& centre, double radius, double startAngle, int repeatNum);
    // Only the direction of startVector counts.
    PatCirclePattern(const Point2D& centre, const Vector2D& startVector, double radius, int repeatNum);
    PatCirclePattern(const PatRelationListPtr& relations, const Point2D& centre, double radius,
                     double startAngle, int repeatNum);
    PatCirclePattern(const PatRelationListPtr& relations, const Point2D& centre, const Vector2D& startVector,
                     double radius, int repeatNum);
    PatCirclePattern(DataID id, const Point2D& centre, double radius, double startAngle, int repeatNum);
    PatCirclePattern(DataID id, const Point2D& centre, const Vector2D& startVector, double radius,
                     int repeatNum);

    double GetRadius() const;
    void SetRadius(double radius);
    double GetStartAngle() const;  // in (-pi, pi]
    void SetStartAngle(double angle);
    int GetRepeatNum() const;
    void SetRepeatNum(int repeatNum);
    // 2pi / repeatNum: the angle between neighbouring copies (0 for an array without copies).
    double GetRepeatAngle() const;

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
    void Init(const Point2D& centre, const Vector2D& startVector, double radius, int repeatNum);

    double m_radius = 0.0;
    int m_repeatNum = 1;
};

using PatCirclePatternPtr = boost::shared_ptr<PatCirclePattern>;

}  // namespace Norvane
