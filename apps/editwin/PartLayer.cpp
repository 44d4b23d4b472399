#include "apps/editwin/PartLayer.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {

void PartLayer::SetPatterns(const PatternListPtr& patterns) {
    m_patterns = patterns;
    std::vector<RectTree::Entry> boxes;
    if (patterns) {
        boxes.reserve(patterns->size());
        for (std::size_t i = 0; i < patterns->size(); ++i) {
            const IPatternPtr& pattern = (*patterns)[i];
            // Seeds are drawn by their arrays; their boxes would only cost queries.
            if (pattern && !pattern->IsControlPat() && pattern->GetCacheData()) {
                boxes.emplace_back(pattern->GetCacheData()->GetRect(), i);
            }
        }
    }
    m_tree = RectTree(boxes);
}

std::vector<std::size_t> PartLayer::Query(const Rect2D& box) const {
    std::vector<std::size_t> found;
    m_tree.QueryIntersects(box, found);
    std::sort(found.begin(), found.end());
    return found;
}

PartLayer::Stats PartLayer::Draw(const GlViewPortPtr& view) const {
    Stats stats;
    if (!m_patterns || m_tree.empty()) {
        return stats;
    }
    const std::vector<std::size_t> visible = Query(view->GetDrawingArea());
    stats.visible = visible.size();
    const int width = view->GetViewTransform().GetDeviceWidth();
    const int height = view->GetViewTransform().GetDeviceHeight();
    std::vector<unsigned char> dotted(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    std::vector<Point2D> dots;
    const PatternDrawer drawer(view);
    ViewPenGuard pen(*view);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
    for (const std::size_t index : visible) {
        const IPatternPtr& pattern = (*m_patterns)[index];
        const Rect2D box = view->RectWToD(pattern->GetCacheData()->GetRect());
        if (box.right - box.left < kDotPixels && box.top - box.bottom < kDotPixels) {
            const double cx = 0.5 * (box.left + box.right);
            const double cy = 0.5 * (box.bottom + box.top);
            const long px = std::lround(std::floor(cx));
            const long py = std::lround(std::floor(cy));
            if (px < 0 || py < 0 || px >= width || py >= height) {
                continue;
            }
            unsigned char& done = dotted[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                                         static_cast<std::size_t>(px)];
            if (done == 0) {
                done = 1;
                dots.push_back(view->PointDToW(Point2D(px + 0.5, py + 0.5)));
            }
            continue;
        }
        drawer.DrawPat(pattern);
        ++stats.drawn;
    }
    // After the outlines, so that they are stroked in long runs of one pen.
    for (const Point2D& dot : dots) {
        view->DrawRectPoint2D(dot.x, dot.y, 1.0, 0);
    }
    stats.dots = dots.size();
    return stats;
}

}  // namespace Norvane
