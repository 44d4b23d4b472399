#include "apps/editwin/SnapIndex.h"

#include <algorithm>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {

namespace {

// The query box is the cursor's square of twice the snap distance: a superset of what the assistant's
// inclusive distance tests accept, rounding included.
constexpr double kReachFactor = 2.0;

}  // namespace

void SnapIndex::Build(const PatternListPtr& patterns) {
    m_patterns = patterns;
    std::vector<RectTree::Entry> boxes;
    if (patterns) {
        boxes.reserve(patterns->size());
        Point2DList points;
        for (std::size_t i = 0; i < patterns->size(); ++i) {
            const IPatternPtr& pattern = (*patterns)[i];
            if (!pattern || pattern->IsControlPat() || !pattern->GetCacheData()) {
                continue;
            }
            Rect2D box = pattern->GetCacheData()->GetRect();
            points.clear();
            pattern->GetSnapPoints(points);
            for (const Point2D& p : points) {
                box.left = std::min(box.left, p.x);
                box.right = std::max(box.right, p.x);
                box.bottom = std::min(box.bottom, p.y);
                box.top = std::max(box.top, p.y);
            }
            boxes.emplace_back(box, i);
        }
    }
    m_tree = RectTree(boxes);
}

PatternListPtr SnapIndex::Near(const Point2D& point, double distance) const {
    auto near = boost::make_shared<PatternList>();
    if (!m_patterns) {
        return near;
    }
    const double reach = kReachFactor * distance;
    std::vector<std::size_t> found;
    m_tree.QueryIntersects(Rect2D(point.x - reach, point.x + reach, point.y - reach, point.y + reach), found);
    std::sort(found.begin(), found.end());
    near->reserve(found.size());
    for (const std::size_t index : found) {
        near->push_back((*m_patterns)[index]);
    }
    return near;
}

}  // namespace Norvane
