#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/viewkit/GeomBaseDrawer.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;
using PatternListPtr = boost::shared_ptr<PatternList>;

// Draws patterns from their caches in the display colours of the options (read afresh on every call):
// ordinary, under the cursor and selected. Every operation leaves the viewport's pen exactly as it found
// it, so drawers may be called in any order. Seed patterns of arrays are never drawn on their own: the
// array draws its copies. An empty pattern or list draws nothing and touches no pen.
class GF_API PatternDrawer : public GeomBaseDrawer {
public:
    explicit PatternDrawer(const GlViewPortPtr& viewPort);

    // Colour PatColor, width 1.
    void DrawPat(const IPatternPtr& pattern) const;
    // Colour PatColor, width 1; the whole list as one combined outline.
    void DrawPatList(const PatternListPtr& patterns) const;
    // Highlight raster mode, width 2, colour ActivePatColor.
    void DrawActivePat(const IPatternPtr& pattern) const;
    // Colour SelPatColor, width as the caller left it.
    void DrawSelPat(const IPatternPtr& pattern) const;
    void DrawSelPatList(const PatternListPtr& patterns) const;

private:
    // The cached outline with the current pen, unless the pattern is an array's seed.
    void DrawPatData(const IPatternPtr& pattern) const;
};

}  // namespace Norvane
