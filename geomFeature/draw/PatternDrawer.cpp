#include "geomFeature/draw/PatternDrawer.h"

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternDrawer::PatternDrawer(const GlViewPortPtr& viewPort) : GeomBaseDrawer(viewPort) {}

void PatternDrawer::DrawPat(const IPatternPtr& pattern) const {
    if (!pattern) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
    pen.SetLineWidth(kOutlineWidth);
    DrawPatData(pattern);
}

void PatternDrawer::DrawPatList(const PatternListPtr& patterns) const {
    if (!patterns) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
    pen.SetLineWidth(kOutlineWidth);
    // One combined list (seeds already left out) rather than a call per pattern.
    DrawBaseGeoms(patterns->CalcBaseGeomList(), Matrix2D());
}

void PatternDrawer::DrawActivePat(const IPatternPtr& pattern) const {
    if (!pattern) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetROP(kActiveRopMode);
    pen.SetLineWidth(kActiveOutlineWidth);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->ActivePatColor);
    DrawPatData(pattern);
}

void PatternDrawer::DrawSelPat(const IPatternPtr& pattern) const {
    if (!pattern) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->SelPatColor);
    DrawPatData(pattern);
}

void PatternDrawer::DrawSelPatList(const PatternListPtr& patterns) const {
    if (!patterns) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->SelPatColor);
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern) {
            DrawPatData(pattern);
        }
    }
}

void PatternDrawer::DrawPatData(const IPatternPtr& pattern) const {
    if (pattern->IsControlPat()) {
        return;  // a seed: its array draws every copy, the seed's place included
    }
    const PatternCachePtr cache = pattern->GetCacheData();
    if (cache) {
        DrawBaseGeoms(cache->GetBaseGeom(), Matrix2D());
    }
}

}  // namespace Norvane
