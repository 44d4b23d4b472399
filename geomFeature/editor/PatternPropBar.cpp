#include "geomFeature/editor/PatternPropBar.h"

#include "geomFeature/editor/EditorResource.h"

namespace Norvane {

PatternPropBar* PatternPropBar::m_pPatPropBar = nullptr;

PatternPropBar::PatternPropBar() : GeomPropBarBase(kResPatPropBarTitle, kPatPropBarWindowID) {}

PatternPropBar* PatternPropBar::GetInstance(WindowHandle parent) {
    if (m_pPatPropBar == nullptr) {
        // Lives to the end of the process, as the pane it models does.
        m_pPatPropBar = new PatternPropBar();
        m_pPatPropBar->SetParentWindow(parent);
    }
    return m_pPatPropBar;
}

void PatternPropBar::DisplayPatProp(const PatLoopListPtr& loops, const PatternListPtr& patterns) {
    m_loops = loops;
    m_patterns = patterns;
    ShowPane(1, 0, 1);
    NotifyContentChanged();
}

}  // namespace Norvane
