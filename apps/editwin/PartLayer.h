#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/geomkit/RectTree.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

// Draws a part's patterns on a view the way a window needs it on large parts: only the patterns whose box
// meets the visible world box (found through an R-tree of the boxes), and a pattern that would cover no
// more than a couple of pixels as one dot, each pixel dotted once (a whole sheet of holes shown at once). The same pattern drawing as files otherwise (PatternDrawer).
//
// The index is built by SetPatterns and must be rebuilt (SetPatterns again) after the part changed.
class PartLayer {
public:
    // Patterns whose device box is under this many pixels both ways are drawn as a dot.
    static constexpr double kDotPixels = 2.0;
    // Above this many patterns drawn in full, a window draws without antialiasing: a raster's smoothing is
    // most of the drawing time (three times faster without), and with so many outlines it is not missed.
    static constexpr std::size_t kSmoothLimit = 4000;

    struct Stats {
        std::size_t visible = 0;  // patterns whose box meets the view
        std::size_t drawn = 0;    // drawn in full
        std::size_t dots = 0;     // drawn as a dot
    };

    void SetPatterns(const PatternListPtr& patterns);
    // Draws on `view` with its current pen colour rules (PatternDrawer) and answers what was done.
    Stats Draw(const GlViewPortPtr& view) const;
    // The list positions of the patterns whose box meets `box` (touching counts), in list order.
    std::vector<std::size_t> Query(const Rect2D& box) const;

private:
    PatternListPtr m_patterns;
    RectTree m_tree;
};

}  // namespace Norvane
