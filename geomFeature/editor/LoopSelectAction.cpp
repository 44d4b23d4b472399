#include "geomFeature/editor/LoopSelectAction.h"

#include <unordered_map>
#include <unordered_set>

#include <boost/make_shared.hpp>

#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

LoopSelectAction::LoopSelectAction(const PatLoopListPtr& loops, const GlViewPortPtr& viewPort)
    : ActionBase(viewPort), m_loops(loops), m_selection(boost::make_shared<PatLoopList>()) {
    SetPromptMsg(kResSelectPrompt);
}

int LoopSelectAction::GetActionType() const {
    return EDIT_LOOP_SELECT;
}

void LoopSelectAction::SelectLoop(const IPatLoopPtr& loop) {
    if (loop && m_selection->GetPatLoopIndex(loop->GetID()) < 0) {
        m_selection->push_back(loop);
    }
}

void LoopSelectAction::AddLoops(const PatLoopList& loops) {
    std::unordered_set<DataID> selected;
    for (const IPatLoopPtr& loop : *m_selection) {
        selected.insert(loop->GetID());
    }
    for (const IPatLoopPtr& loop : loops) {
        if (loop && selected.insert(loop->GetID()).second) {
            m_selection->push_back(loop);
        }
    }
}

IPatLoopPtr LoopSelectAction::LoopAt(const Point2D& point) const {
    if (!m_loops) {
        return IPatLoopPtr();
    }
    double distance = 0.0;
    const IPatternPtr nearest = m_loops->GetClosestPat(point, distance);
    return nearest ? m_loops->FindLoopByPat(nearest) : IPatLoopPtr();
}

int LoopSelectAction::LButtonDown(double& x, double& y) {
    if (m_selectStep != 1) {
        m_selectStep = 1;
        m_window.Start(Point2D(x, y));
        SetPromptMsg(kResSelectWindowPrompt);
    }
    return 1;
}

int LoopSelectAction::LButtonUp(double& x, double& y) {
    if (m_selectStep != 1) {
        return 1;
    }
    m_window.Follow(Point2D(x, y));
    auto found = boost::make_shared<PatLoopList>();
    if (m_window.IsWindow()) {
        if (m_loops) {
            found = m_loops->GetPatLoopsInRect(m_window.GetRect());
        }
    } else if (const IPatLoopPtr loop = LoopAt(m_window.GetCorner())) {
        found->push_back(loop);
    }
    if (found->empty()) {
        m_selectStep = 0;
    } else {
        if (ValInputMgr::GetInstance()->IsInputCtrl() == 0) {
            m_selection->clear();
        }
        AddLoops(*found);
        m_selectStep = 2;
    }
    SetPromptMsg(kResSelectPrompt);
    return 1;
}

int LoopSelectAction::MovePoint(double& x, double& y) {
    m_hover = LoopAt(Point2D(x, y));
    if (m_selectStep == 1) {
        m_window.Follow(Point2D(x, y));
    }
    return 1;
}

int LoopSelectAction::OnKeyDown(unsigned int ch, unsigned int /*repeatCount*/, unsigned int /*flags*/) {
    const ValInputMgr& input = *ValInputMgr::GetInstance();
    if (input.IsInputCancel(ch) != 0) {
        m_selection->clear();
        m_selectStep = 0;
    } else if (input.IsInputCtrl() != 0 && input.IsInputA(ch) != 0 && m_loops) {
        m_selection->clear();
        AddLoops(*m_loops);
        m_selectStep = m_selection->empty() ? 0 : 2;
    }
    return 1;
}

int LoopSelectAction::OnKeyUp(unsigned int /*ch*/, unsigned int /*repeatCount*/, unsigned int /*flags*/) {
    return 1;
}

int LoopSelectAction::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    if (m_selectStep == 1) {
        m_window.Draw(*m_viewPort);
    }
    const LoopDrawer drawer(m_viewPort);
    if (m_hover && m_selection->GetPatLoopIndex(m_hover->GetID()) < 0) {
        drawer.DrawActiveLoop(m_hover, Matrix2D());
    }
    for (const IPatLoopPtr& loop : *m_selection) {
        drawer.DrawSelectedLoop(loop, Matrix2D());
    }
    CursorDrawer(m_viewPort).DrawRectSelCursor();
    return 1;
}

void LoopSelectAction::UpdateForUndoRedo() {
    m_hover.reset();
    if (!m_loops) {
        m_selection->clear();
        return;
    }
    // Which loop holds each pattern now, built once for the whole selection.
    std::unordered_map<DataID, IPatLoopPtr> loopOf;
    for (const IPatLoopPtr& loop : *m_loops) {
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            if (node->GetPat()) {
                loopOf.emplace(node->GetPat()->GetID(), loop);
            }
        }
    }
    PatLoopList now;
    for (const IPatLoopPtr& loop : *m_selection) {
        const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
        const IPatternPtr first =
            nodes->empty() ? IPatternPtr() : PatternForwarding::Resolve(nodes->front()->GetPat());
        const auto found = first ? loopOf.find(first->GetID()) : loopOf.end();
        if (found != loopOf.end()) {
            now.push_back(found->second);
        }
    }
    m_selection->clear();
    AddLoops(now);
    if (m_selection->empty() && m_selectStep == 2) {
        m_selectStep = 0;
    }
}

}  // namespace Norvane
