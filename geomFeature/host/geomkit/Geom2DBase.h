#pragma once

#include "geomFeature/host/geomkit/IGeom2D.h"

namespace Norvane {

// Shared part of the kernel elements: the base point (a line's start, an arc's centre).
class Geom2DBase : public IGeom2D {
public:
    const Point2D& GetBasePoint() const { return m_basePt; }
    void SetBasePoint(const Point2D& p) { m_basePt = p; }

protected:
    Geom2DBase() = default;
    explicit Geom2DBase(const Point2D& base) : m_basePt(base) {}

    Point2D m_basePt;
};

}  // namespace Norvane
