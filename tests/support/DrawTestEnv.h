#pragma once

#include <initializer_list>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/optkit/DisplayParam.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {
namespace testutil {

// Display colours that differ from each other and from every default, so a test can tell which one a
// drawer used. Installed for the guard's lifetime; the options are back at their defaults afterwards.
struct DrawColors {
    static constexpr unsigned long kPat = DisplayParam::MakeColor(1, 2, 3);
    static constexpr unsigned long kActive = DisplayParam::MakeColor(4, 5, 6);
    static constexpr unsigned long kSel = DisplayParam::MakeColor(7, 8, 9);
    static constexpr unsigned long kCtrlPt = DisplayParam::MakeColor(10, 11, 12);
};

class DisplayColorGuard {
public:
    DisplayColorGuard() {
        DisplayParam param;
        param.PatColor = DrawColors::kPat;
        param.ActivePatColor = DrawColors::kActive;
        param.SelPatColor = DrawColors::kSel;
        param.CtrlPtColor = DrawColors::kCtrlPt;
        NVOptionInfo::GetInstance()->SetDisplayParam(param);
    }
    DisplayColorGuard(const DisplayColorGuard&) = delete;
    DisplayColorGuard& operator=(const DisplayColorGuard&) = delete;
    ~DisplayColorGuard() { NVOptionInfo::GetInstance()->ResetToDefaults(); }
};

inline IPatternPtr CachedLine(double x1, double y1, double x2, double y2) {
    auto line = boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
    line->UpdateCache();
    return line;
}

// A polygon loop over the patterns (each followed in its own direction) whose cache is filled from the
// patterns' caches, as the loop cache refresh would: the union of their boxes and their outlines in order.
inline PolyPatLoopPtr CachedLoop(std::initializer_list<IPatternPtr> patterns) {
    auto loop = boost::make_shared<PolyPatLoop>();
    auto cache = boost::make_shared<PatLoopCache>();
    Rect2D box = (*patterns.begin())->GetCacheData()->GetRect();
    for (const IPatternPtr& pattern : patterns) {
        loop->AppendPattern(pattern, 1);
        cache->GetLoopBaseGeom()->Append(*pattern->GetCacheData()->GetBaseGeom());
        box.Union(pattern->GetCacheData()->GetRect());
    }
    cache->SetLoopRect(box);
    loop->SetCacheData(cache);
    return loop;
}

// A loop with no nodes whose cache claims the box and holds its four sides: enough for drawing, which
// reads only the cache.
inline PolyPatLoopPtr BoxOnlyLoop(const Rect2D& box) {
    auto loop = boost::make_shared<PolyPatLoop>();
    auto cache = boost::make_shared<PatLoopCache>();
    const Point2D corners[4] = {Point2D(box.left, box.bottom), Point2D(box.right, box.bottom),
                                Point2D(box.right, box.top), Point2D(box.left, box.top)};
    for (int i = 0; i < 4; ++i) {
        cache->GetLoopBaseGeom()->push_back(boost::make_shared<Line2D>(corners[i], corners[(i + 1) % 4]));
    }
    cache->SetLoopRect(box);
    loop->SetCacheData(cache);
    return loop;
}

}  // namespace testutil
}  // namespace Norvane
