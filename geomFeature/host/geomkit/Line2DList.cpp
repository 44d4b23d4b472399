#include "geomFeature/host/geomkit/Line2DList.h"

#include <boost/make_shared.hpp>

namespace Norvane {

double Line2DList::GetTotalLength() const {
    double total = 0.0;
    for (const Line2D& l : m_lines) {
        total += l.GetLength();
    }
    return total;
}

Geom2DList Line2DList::ToGeom2DList() const {
    Geom2DList geoms;
    geoms.reserve(m_lines.size());
    for (const Line2D& l : m_lines) {
        geoms.push_back(boost::make_shared<Line2D>(l));
    }
    return geoms;
}

}  // namespace Norvane
