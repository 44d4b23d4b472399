#include "geomFeature/host/appframe/EditorBase.h"

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/DummyAction.h"
#include "geomFeature/host/appframe/ValInputMgr.h"

namespace Norvane {

EditorBase::EditorBase(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {
    m_action = boost::make_shared<DummyAction>(viewPort);
}

// Every event: nothing without an action; otherwise the event to the action, then its successor and the bar.
template <class Event>
int EditorBase::Dispatch(Event&& event) {
    if (m_action) {
        event(*m_action);
        AfterEvent();
    }
    return 1;
}

int EditorBase::LButtonDown(double& x, double& y) {
    return Dispatch([&](IAction& action) { action.LButtonDown(x, y); });
}

int EditorBase::LButtonUp(double& x, double& y) {
    return Dispatch([&](IAction& action) { action.LButtonUp(x, y); });
}

int EditorBase::LButtonDBClk(double& x, double& y) {
    return Dispatch([&](IAction& action) { action.LButtonDBClk(x, y); });
}

int EditorBase::RButtonUp(double& x, double& y) {
    return Dispatch([&](IAction& action) { action.RButtonUp(x, y); });
}

int EditorBase::MovePoint(double& x, double& y) {
    // A surface without a pointer of its own learns the cursor from the moves (typed input falls back on it).
    if (m_viewPort) {
        m_viewPort->SetCursorPos(x, y);
    }
    return Dispatch([&](IAction& action) { action.MovePoint(x, y); });
}

int EditorBase::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    return Dispatch([&](IAction& action) { action.OnKeyDown(ch, repeatCount, flags); });
}

int EditorBase::OnKeyUp(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    return Dispatch([&](IAction& action) { action.OnKeyUp(ch, repeatCount, flags); });
}

void EditorBase::SetDummyAction() {
    m_action = boost::make_shared<DummyAction>(m_viewPort);
}

void EditorBase::UpdateOutputBar() {
    if (!m_outputBar || !m_action) {
        return;
    }
    int promptID = 0;
    int secondID = 0;
    m_action->GetPromptMsg(promptID, secondID);
    m_outputBar->ShowPrompt(promptID, secondID, ValInputMgr::GetInstance()->GetInputText());
}

void EditorBase::UpdateActionForUndoRedo() {
    if (!m_action) {
        return;
    }
    m_action->UpdateForUndoRedo();
    AfterEvent();
}

int EditorBase::Undo() {
    const int done = CommandManager::GetInstance()->Undo();
    if (done != 0) {
        UpdateActionForUndoRedo();
    }
    return done;
}

int EditorBase::Redo() {
    const int done = CommandManager::GetInstance()->Redo();
    if (done != 0) {
        UpdateActionForUndoRedo();
    }
    return done;
}

void EditorBase::DrawTransient() {
    if (m_action) {
        m_action->DrawBeforeFinish();
    }
}

void EditorBase::SetActionObject(const IActionPtr& action) {
    if (action) {
        m_action = action;
    }
}

void EditorBase::AfterEvent() {
    // Hold the successor before the old action (its only other holder, perhaps) is released.
    const IActionPtr next = m_action->GetNextAction();
    if (next) {
        m_action = next;
    }
    UpdateOutputBar();
}

}  // namespace Norvane
