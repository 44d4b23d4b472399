#include "geomFeature/editor/PreSelectActionBase.h"

#include <unordered_set>

#include <boost/make_shared.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PreSelectActionBase::PreSelectActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : PatternActionBase(patterns, loops, viewPort),
      m_selection(selection ? selection : boost::make_shared<PatternList>()) {
    SetDrawAssist(0);
    SetPromptMsg(m_selection->empty() ? kResSelectConfirmPrompt : kResSelectMorePrompt);
}

IPatternPtr PreSelectActionBase::PatternAt(const Point2D& point) const {
    return m_patterns ? m_patterns->GetPatternClosestTo(point, 1) : IPatternPtr();
}

int PreSelectActionBase::LButtonDown(double& x, double& y) {
    if (m_selectStep == 0 || m_selectStep == 2) {
        m_selectStep = 1;
        m_window.Start(Point2D(x, y));
        SetPromptMsg(kResSelectWindowPrompt);
    }
    return 1;
}

int PreSelectActionBase::LButtonUp(double& x, double& y) {
    if (m_selectStep != 1) {
        return 1;
    }
    m_window.Follow(Point2D(x, y));
    PatternListPtr found;
    if (m_window.IsWindow()) {
        found = m_patterns ? m_patterns->GetPatternInRect(m_window.GetRect(), 1) : PatternListPtr();
    } else if (const IPatternPtr picked = PatternAt(m_window.GetCorner())) {
        found = boost::make_shared<PatternList>();
        found->push_back(picked);
    }
    if (!found || found->empty()) {
        m_selectStep = 0;
    } else {
        Collect(found);
        m_selectStep = 2;
    }
    AfterSelect();
    return 1;
}

int PreSelectActionBase::MovePoint(double& x, double& y) {
    m_hover = PatternAt(Point2D(x, y));
    if (m_selectStep == 1) {
        m_window.Follow(Point2D(x, y));
    }
    return 1;
}

int PreSelectActionBase::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    PatternActionBase::OnKeyDown(ch, repeatCount, flags);
    const ValInputMgr& input = *ValInputMgr::GetInstance();
    if (input.IsInputCtrl() != 0 && input.IsInputA(ch) != 0 && m_selectStep != -1) {
        SelectAll();
        m_selectStep = m_selection->empty() ? 0 : 2;
        AfterSelect();
    }
    return 1;
}

void PreSelectActionBase::AfterSelect() {
    SetPromptMsg(m_selection->empty() ? kResSelectNothingPrompt : kResSelectMorePrompt);
}

void PreSelectActionBase::Collect(const PatternListPtr& found) {
    if (ValInputMgr::GetInstance()->IsInputCtrl() == 0) {
        m_selection->clear();
    }
    std::unordered_set<DataID> selected;
    for (const IPatternPtr& pattern : *m_selection) {
        selected.insert(pattern->GetID());
    }
    for (const IPatternPtr& pattern : *found) {
        if (pattern && selected.insert(pattern->GetID()).second) {
            m_selection->push_back(pattern);
        }
    }
}

void PreSelectActionBase::SelectAll() {
    m_selection->clear();
    if (!m_patterns) {
        return;
    }
    for (const IPatternPtr& pattern : *m_patterns) {
        if (pattern && !pattern->IsControlPat()) {
            m_selection->push_back(pattern);
        }
    }
}

// One pass over each list (a selection of a whole large part is pruned in linear time).
void PreSelectActionBase::PruneSelection() {
    PatternForwarding::ResolveList(*m_selection);
    std::unordered_set<DataID> present;
    if (m_patterns) {
        for (const IPatternPtr& pattern : *m_patterns) {
            if (pattern) {
                present.insert(pattern->GetID());
            }
        }
    }
    std::erase_if(*m_selection, [&present](const IPatternPtr& pattern) {
        return !pattern || present.count(pattern->GetID()) == 0;
    });
    if (m_hover && present.count(m_hover->GetID()) == 0) {
        m_hover.reset();
    }
}

PatternListPtr PreSelectActionBase::SelectionCopy() const {
    auto copy = boost::make_shared<PatternList>();
    std::unordered_set<DataID> seen;
    for (const IPatternPtr& pattern : *m_selection) {
        if (pattern && seen.insert(pattern->GetID()).second) {
            copy->push_back(pattern);
        }
    }
    return copy;
}

int PreSelectActionBase::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    if (m_selectStep == 1) {
        m_window.Draw(*m_viewPort);
    }
    const PatternDrawer drawer(m_viewPort);
    if (m_hover && m_selection->GetPatternIndex(m_hover) < 0) {
        drawer.DrawActivePat(m_hover);
    }
    drawer.DrawSelPatList(m_selection);
    CursorDrawer(m_viewPort).DrawRectSelCursor();
    return 1;
}

}  // namespace Norvane
