#pragma once

#include <utility>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Direction.h"

namespace Norvane {

class Geom2DList;

// A contour of lines and arcs: a shared element list taken as one chain, with the sense in which it turns.
class GeomLoop {
public:
    GeomLoop() = default;
    explicit GeomLoop(boost::shared_ptr<Geom2DList> geoms) : m_geoms(std::move(geoms)) {}

    // The element list (shared, not copied); empty pointer when none was given.
    boost::shared_ptr<Geom2DList> GetGeom2DList() const { return m_geoms; }
    void SetGeom2DList(boost::shared_ptr<Geom2DList> geoms) { m_geoms = std::move(geoms); }

    // Exact signed area of the chain (LineArcProcessor::GetSignedArea); 0 without elements.
    double GetArea() const;
    // DIR_CW when the signed area is negative, DIR_CCW otherwise (a loop of zero area, or without elements,
    // reports DIR_CCW). The area is exact, arcs included, so no tolerance enters the decision.
    tagDirection GetDirection() const;

private:
    boost::shared_ptr<Geom2DList> m_geoms;
};

using GeomLoopPtr = boost::shared_ptr<GeomLoop>;

}  // namespace Norvane
