#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;
using PatternListPtr = boost::shared_ptr<PatternList>;

// Draws the control (snap) points of patterns as crosses, and the current snap point as a square, in
// device-sized marks. Every operation leaves the viewport's pen as it found it. Copies share the viewport.
class GF_API SnapPtDrawer {
public:
    explicit SnapPtDrawer(const GlViewPortPtr& viewPort);

    // Width 1, colour CtrlPtColor: a cross at each snap point of the pattern (none for an array's seed).
    void DrawPatCtrlPt(const IPatternPtr& pattern) const;
    // The same for every pattern of the list, in list order.
    void DrawPatListCtrlPt(const PatternListPtr& patterns) const;
    // A hollow square at the point in the given colour (0x00BBGGRR); only the colour is changed.
    void DrawSnapPt(const Point2D& point, unsigned long color) const;

    const GlViewPortPtr& GetViewPort() const { return m_viewPort; }

private:
    void DrawCtrlPt(const IPatternPtr& pattern) const;

    GlViewPortPtr m_viewPort;
};

}  // namespace Norvane
