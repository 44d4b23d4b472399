#pragma once

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// Derived geometry of one loop: the box of its outline and the outline itself as plain lines and arcs in
// loop order (each element oriented the way the loop runs). Filled by the loop cache refresh and read by
// drawing, nesting and hit-testing. Copies share the geometry list: a cache is replaced, never edited in
// place, so sharing is safe.
class GF_API PatLoopCache {
public:
    PatLoopCache() : m_baseGeom(boost::make_shared<Geom2DList>()) {}

    const Rect2D& GetLoopRect() const { return m_rect; }
    void SetLoopRect(const Rect2D& rect) { m_rect = rect; }
    const Geom2DListPtr& GetLoopBaseGeom() const { return m_baseGeom; }
    void SetLoopBaseGeom(const Geom2DListPtr& geoms) { m_baseGeom = geoms; }

private:
    Rect2D m_rect;
    Geom2DListPtr m_baseGeom;
};

using PatLoopCachePtr = boost::shared_ptr<PatLoopCache>;

}  // namespace Norvane
