#pragma once

#include <cstddef>

#include "geomFeature/host/geomkit/RectTree.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

// The patterns a snap search near a point can find, through an R-tree: each pattern (seeds left out) is
// indexed by the box of its outline and of its snap points (an arc's centre lies outside its outline's
// box). Everything the drawing assistant finds comes from patterns within its snap distance of the
// cursor, so handing it Near(cursor, distance) instead of the whole part gives the same answer, in a time
// that does not grow with the part.
class SnapIndex {
public:
    // Indexes the patterns as they are now; build again after the part changed.
    void Build(const PatternListPtr& patterns);
    // The patterns whose indexed box lies within `distance` of `point` (with room for rounding), in the
    // order of the part's list, which decides between equally near candidates.
    PatternListPtr Near(const Point2D& point, double distance) const;
    const PatternListPtr& GetPatterns() const { return m_patterns; }

private:
    PatternListPtr m_patterns;
    RectTree m_tree;
};

}  // namespace Norvane
