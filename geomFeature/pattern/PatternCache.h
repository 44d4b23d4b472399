#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

class Geom2DList;
using Geom2DListPtr = boost::shared_ptr<Geom2DList>;

// Derived geometry of one pattern: its outline as plain lines and arcs (in outline order) and the
// bounding box of that outline. Only IPattern::UpdateCache fills it; a fresh cache has the kernel's
// default box and no list at all (an empty pointer, not an empty list).
class GF_API PatternCache {
public:
    const Rect2D& GetRect() const { return m_rect; }
    void SetRect(const Rect2D& rect) { m_rect = rect; }
    const Geom2DListPtr& GetBaseGeom() const { return m_baseGeom; }
    void SetBaseGeom(const Geom2DListPtr& geoms) { m_baseGeom = geoms; }

private:
    Rect2D m_rect;
    Geom2DListPtr m_baseGeom;
};

using PatternCachePtr = boost::shared_ptr<PatternCache>;

}  // namespace Norvane
