#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

namespace Norvane {

class Polygon2D;

// An ordered list of shared polygons, as PolygonBuilder::BuildPolyListFromLineArc returns them.
using Poly2DList = std::vector<boost::shared_ptr<Polygon2D>>;

}  // namespace Norvane
