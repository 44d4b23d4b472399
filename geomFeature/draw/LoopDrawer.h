#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/viewkit/GeomBaseDrawer.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

class PatLoopList;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Draws loops from their caches in the display colours of the options (read afresh on every call), and
// marks the ends of open loops. Every operation leaves the viewport's pen exactly as it found it. An empty
// loop or list draws nothing and touches no pen.
//
// Loops are drawn with a level of detail fitted to their size on screen, so that a part with thousands of
// small holes redraws quickly when zoomed out: a loop off the client area costs one box test, a tiny one a
// point or a circle instead of its outline.
class GF_API LoopDrawer : public GeomBaseDrawer {
public:
    explicit LoopDrawer(const GlViewPortPtr& viewPort);

    // Colour PatColor, width 1.
    void DrawPatLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const;
    void DrawPatLoopList(const PatLoopListPtr& loops, const Matrix2D& matrix) const;
    // Highlight raster mode, width 2, colour ActivePatColor.
    void DrawActiveLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const;
    // Width 1, colour SelPatColor.
    void DrawSelectedLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const;

    // The loop under `matrix` with the current pen. Its cached box, transformed, is taken to the device:
    // - no overlap with the client area (touching counts as overlap): nothing;
    // - at most 3 pixels wide and high (non-strict): a point at the box centre;
    // - else at most 6 pixels wide and high (non-strict): a full circle about the box centre whose radius
    //   is half the box width;
    // - else the cached outline.
    void DrawLoopData(const IPatLoopPtr& loop, const Matrix2D& matrix) const;

    // Pure red diagonal crosses, width 1, at the start and end of every loop whose ends are more than
    // 0.0001 apart. The marks are placed untransformed.
    void FlagOpenLoops(const PatLoopListPtr& loops) const;
};

}  // namespace Norvane
