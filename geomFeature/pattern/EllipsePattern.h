#pragma once

#include <cstdint>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

// An ellipse. The base point is the centre; the base vector lies along the first axis, its length is the
// full length of that axis and its angle the ellipse's rotation. The second axis (the width) is the length
// times orthoRatio, so a uniform scale by Transform scales both axes. Because an outline may hold only lines
// and arcs, the outline approximates the ellipse by segCount circular arcs through points of the true curve.
class GF_API EllipsePattern : public StdPatternBase, public boost::enable_shared_from_this<EllipsePattern> {
public:
    static constexpr std::int32_t kDefaultSegCount = 16;

    EllipsePattern();  // centre (0, 0), axis (1, 0), ratio 1 (a unit circle), 16 arcs
    EllipsePattern(const Point2D& centre, double angle, double length, double width);
    EllipsePattern(const Point2D& centre, const Vector2D& axis, double ratio);
    // Loader: every stored value taken over, with that identifier.
    EllipsePattern(DataID id, const Point2D& centre, const Vector2D& axis, double ratio, std::int32_t segCount);

    double GetLength() const;
    // Rescales the first axis; the ratio stays, so the width scales with it.
    void SetLength(double length);
    double GetWidth() const;
    // Sets the width through the ratio (width / length). A zero-length ellipse has no ratio to hold it and
    // stays unchanged.
    void SetWidth(double width);
    double GetAngle() const;
    // Turns the first axis to angle, keeping the length.
    void SetAngle(double angle);
    double GetOrthoRatio() const;
    void SetOrthoRadio(double ratio);
    std::int32_t GetSegCount() const;
    void SetSegCount(std::int32_t segCount);

    tagPatternType GetPatternType() const override;
    void GetSnapPoints(Point2DList& points) const override;
    void UpdateFrom(const IPatternPtr& other) override;
    int IsDuplicate(const IPatternPtr& other) const override;
    int IsSameShape(const IPatternPtr& other) const override;
    Geom2DListPtr CalcBaseGeomList() const override;
    void Accept(const IPatternVisitorPtr& visitor) override;
    int OffsetStdPat(int direction, double distance) override;

    DataProperty GetProperty() const override;
    void UpdateProperty(DataPropItem& item) override;
    IDataPtr Clone() const override;

private:
    double m_orthoRatio = 1.0;               // width / length
    std::int32_t m_segCount = kDefaultSegCount;  // arcs in the outline
};

using EllipsePatternPtr = boost::shared_ptr<EllipsePattern>;

}  // namespace Norvane
