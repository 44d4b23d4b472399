#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GeomPropBarBase.h"
#include "geomFeature/host/appframe/WindowHandle.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// The pane that shows the selected patterns' values (one per process). The selection action fills and
// shows it; every switch of action in the geometry editor hides it. A window system observes it (XBarBase)
// to show, hide and refill its pane.
class GF_API PatternPropBar : public GeomPropBarBase {
public:
    // The bar; the first call creates it (caption 12100, window id 12750) as a child of `parent`.
    static PatternPropBar* GetInstance(WindowHandle parent = nullptr);

    // Remembers the lists, shows the bar and tells its observers that the content changed.
    void DisplayPatProp(const PatLoopListPtr& loops, const PatternListPtr& patterns);

    // The lists last shown (empty before the first DisplayPatProp).
    const PatternListPtr& GetPatternList() const { return m_patterns; }
    const PatLoopListPtr& GetLoopList() const { return m_loops; }

private:
    PatternPropBar();

    static PatternPropBar* m_pPatPropBar;

    PatLoopListPtr m_loops;
    PatternListPtr m_patterns;
};

}  // namespace Norvane
