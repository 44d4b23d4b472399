#include "geomFeature/editor/PatternSelectAction.h"

#include <boost/make_shared.hpp>

#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/viewkit/CursorDrawer.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternSelectAction::PatternSelectAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort)
    : PatternActionBase(patterns, loops, viewPort), m_selection(boost::make_shared<PatternList>()) {
    SetDrawAssist(0);
    SetPromptMsg(kResSelectPrompt);
}

int PatternSelectAction::GetActionType() const {
    return EDIT_SELECT;
}

void PatternSelectAction::SelectPatList(const PatternListPtr& list) {
    m_selection->clear();
    if (list) {
        m_selection->AddPatterns(list);
    }
    PatternPropBar::GetInstance()->DisplayPatProp(m_loops, m_selection);
}

void PatternSelectAction::UpdateForUndoRedo() {
    PatternPropBar::GetInstance()->ShowBar(0);
    if (!m_patterns) {
        m_selection->clear();
        return;
    }
    auto gone = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : *m_selection) {
        if (pattern && !m_patterns->GetPatFromID(pattern->GetID())) {
            gone->push_back(pattern);
        }
    }
    if (!gone->empty()) {
        m_selection->RemovePatterns(gone);
    }
}

int PatternSelectAction::DrawBeforeFinish() {
    if (!m_viewPort) {
        return 1;
    }
    PatternDrawer(m_viewPort).DrawSelPatList(m_selection);
    CursorDrawer(m_viewPort).DrawRectSelCursor();
    return 1;
}

}  // namespace Norvane
