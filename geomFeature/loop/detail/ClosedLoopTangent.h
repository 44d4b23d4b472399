#pragma once

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatPosition.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {
namespace detail {

// Unit direction of travel of a one-pattern loop at pos, read from the cached outline of `shape` (the
// standard shape itself, or an array's seed, whose outline the positions of an array index).
//
// A line element gives its own direction, reversed unless the loop follows the pattern (follow == 1). An arc
// element gives the radial vector at the point turned a quarter turn: counter-clockwise when the loop runs
// with a positive sweep (follow non-zero, sweep > 0) or against a negative one (follow 0, sweep < 0),
// clockwise otherwise. The quarter turns are done exactly ((-y, x) and (y, -x)) so that an axis-aligned
// tangent comes out axis-aligned.
//
// The zero vector when the shape has no cached outline, pos names no element, or the element is degenerate
// (zero length or radius), so callers never see a NaN.
inline Vector2D ClosedLoopTangent(const IPatternPtr& shape, const PatPosition& pos, int follow) {
    if (!shape)
        return Vector2D();
    const PatternCachePtr cache = shape->GetCacheData();
    if (!cache || !cache->GetBaseGeom())
        return Vector2D();
    const Geom2DList& geoms = *cache->GetBaseGeom();
    if (pos.GetIndex() < 0 || static_cast<std::size_t>(pos.GetIndex()) >= geoms.size())
        return Vector2D();

    Vector2D v;
    const IGeom2DPtr& geom = geoms[static_cast<std::size_t>(pos.GetIndex())];
    if (auto line = boost::dynamic_pointer_cast<Line2D>(geom)) {
        v = follow == 1 ? line->GetVector() : -line->GetVector();
    } else if (auto arc = boost::dynamic_pointer_cast<Arc2D>(geom)) {
        const Vector2D radial(arc->GetCenter(), arc->GetPointAtPercent(pos.GetPercent()));
        const double sweep = arc->GetSweepAngle();
        // A zero sweep turns clockwise whichever way the loop runs: it has no sense of its own.
        const bool counterClockwise = follow != 0 ? sweep > 0.0 : sweep < 0.0;
        v = counterClockwise ? radial.Orthogonal() : -radial.Orthogonal();
    }
    const double length = v.Length();
    return length > 0.0 ? v / length : Vector2D();
}

}  // namespace detail
}  // namespace Norvane
