#include "apps/editwin/SnappingEditor.h"

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/host/appframe/CommandManager.h"

namespace Norvane {

SnappingEditor::SnappingEditor(const GlViewPortPtr& viewPort, const DrawAssistorPtr& assistor)
    : GeometryEditor(viewPort, assistor) {}

int SnappingEditor::MovePoint(double& x, double& y) {
    const PatternListPtr whole = GetPatternList();
    if (!whole || !GetDrawer()) {
        return GeometryEditor::MovePoint(x, y);
    }
    const CommandManager* history = CommandManager::GetInstance();
    if (m_stale || m_index.GetPatterns() != whole || m_top != history->GetUndoCommand() ||
        m_undo != history->GetUndoCount() || m_redo != history->GetRedoCount()) {
        m_index.Build(whole);
        m_stale = false;
        m_top = history->GetUndoCommand();
        m_undo = history->GetUndoCount();
        m_redo = history->GetRedoCount();
    }
    // The assistant is given the part's list on every move; for this move it is the patterns near the
    // cursor. Actions keep the list they were made with, so nothing else sees the swap.
    SetPatternList(m_index.Near(Point2D(x, y), GetDrawer()->DToW(kSnapDistancePixels)));
    const int answer = GeometryEditor::MovePoint(x, y);
    SetPatternList(whole);
    return answer;
}

}  // namespace Norvane
