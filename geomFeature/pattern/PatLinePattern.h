#pragma once

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/ArrayPatBase.h"

namespace Norvane {

// Copies of the seed in a straight row. The base point is where the first copy's base point lies; the
// base vector is the step from one copy to the next, so copy i stands at basePoint + i * step.
class GF_API PatLinePattern : public ArrayPatBase, public boost::enable_shared_from_this<PatLinePattern> {
public:
    // step = space * (cos angle, sin angle)
    PatLinePattern(const Point2D& basePoint, double space, double angle, int repeatNum);
    PatLinePattern(const Point2D& basePoint, const Vector2D& step, int repeatNum);
    PatLinePattern(const PatRelationListPtr& relations, const Point2D& basePoint, double space, double angle,
                   int repeatNum);
    PatLinePattern(const PatRelationListPtr& relations, const Point2D& basePoint, const Vector2D& step,
                   int repeatNum);
    PatLinePattern(DataID id, const Point2D& basePoint, double space, double angle, int repeatNum);
    PatLinePattern(DataID id, const Point2D& basePoint, const Vector2D& step, int repeatNum);

    double GetSpace() const;      // length of the step
    void SetSpace(double space);  // keeps the step's direction
    double GetAngle() const;      // direction of the step, in (-pi, pi]
    void SetAngle(double angle);  // keeps the step's length
    double GetXSpace() const;
    void SetXSpace(double x);
    double GetYSpace() const;
    void SetYSpace(double y);
    int GetRepeatNum() const;
    void SetRepeatNum(int repeatNum);

    // Takes pat as one more copy at the end of the row: answers 1 (and the row grows by one) when pat
    // has the seed's type and shape and stands at the next copy's place, else 0 with nothing changed.
    int AddPattern(const IPatternPtr& pat);

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
    int m_repeatNum = 1;
};

using PatLinePatternPtr = boost::shared_ptr<PatLinePattern>;

}  // namespace Norvane
