#pragma once

// The independent oracle of the loop offset tests and benchmark: a loop's outline chorded into a polygon
// and offset with round joins by Clipper (Debian's libpolyclipping), a test-only dependency.

#include <cmath>
#include <vector>

#include <boost/pointer_cast.hpp>
#include <polyclipping/clipper.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"

namespace Norvane {
namespace testutil {

// Clipper works on integer coordinates: lengths are multiplied by scale.
struct ClipperFrame {
    double scale;
    ClipperLib::IntPoint Map(const Point2D& p) const {
        return ClipperLib::IntPoint(static_cast<ClipperLib::cInt>(std::llround(p.x * scale)),
                                    static_cast<ClipperLib::cInt>(std::llround(p.y * scale)));
    }
};

// The closed outline (elements in travel order) as a polygon whose chords stray at most chordError from
// the arcs.
inline ClipperLib::Path Chorded(const Geom2DList& chain, double chordError, const ClipperFrame& frame) {
    ClipperLib::Path path;
    for (const IGeom2DPtr& g : chain) {
        const auto arc = boost::dynamic_pointer_cast<Arc2D>(g);
        int pieces = 1;
        if (arc && arc->GetRadius() > chordError) {
            const double step = 2.0 * std::acos(1.0 - chordError / arc->GetRadius());
            pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(arc->GetSweepAngle()) / step)));
        }
        for (int k = 0; k < pieces; ++k) path.push_back(frame.Map(g->GetPointAtPercent(k / double(pieces))));
    }
    return path;
}

// Clipper's offset of the polygons by delta (positive grows) with round joins of the same chord error.
inline ClipperLib::Paths ClipperOffsetRound(const ClipperLib::Paths& polygons, double delta,
                                            double chordError, const ClipperFrame& frame) {
    ClipperLib::ClipperOffset offset(2.0, chordError * frame.scale);
    offset.AddPaths(polygons, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    offset.Execute(solution, delta * frame.scale);
    return solution;
}

// Signed areas of the result polygons, in the loop's units.
inline std::vector<double> Areas(const ClipperLib::Paths& paths, const ClipperFrame& frame) {
    std::vector<double> areas;
    for (const ClipperLib::Path& p : paths)
        areas.push_back(ClipperLib::Area(p) / (frame.scale * frame.scale));
    return areas;
}

}  // namespace testutil
}  // namespace Norvane
