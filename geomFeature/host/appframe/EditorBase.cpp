#include "geomFeature/host/appframe/EditorBase.h"

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/DummyAction.h"
#include "geomFeature/host/appframe/ValInputMgr.h"

namespace Norvane {

EditorBase::EditorBase(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {
    m_action = boost::make_shared<DummyAction>(viewPort);
}

int EditorBase::LButtonDown(double& x, double& y) {
    if (m_action) {
        m_action->LButtonDown(x, y);
        AfterEvent();
    }
    return 1;
}

int EditorBase::LButtonUp(double& x, double& y) {
    if (m_action) {
        m_action->LButtonUp(x, y);
        AfterEvent();
    }
    return 1;
}

int EditorBase::LButtonDBClk(double& x, double& y) {
    if (m_action) {
        m_action->LButtonDBClk(x, y);
        AfterEvent();
    }
    return 1;
}

int EditorBase::RButtonUp(double& x, double& y) {
    if (m_action) {
        m_action->RButtonUp(x, y);
        AfterEvent();
    }
    return 1;
}

int EditorBase::MovePoint(double& x, double& y) {
    // A surface without a pointer of its own learns the cursor from the moves (typed input falls back on it).
    if (m_viewPort) {
        m_viewPort->SetCursorPos(x, y);
    }
    if (m_action) {
        m_action->MovePoint(x, y);
        AfterEvent();
    }
    return 1;
}

int EditorBase::OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    if (m_action) {
        m_action->OnKeyDown(ch, repeatCount, flags);
        AfterEvent();
    }
    return 1;
}

int EditorBase::OnKeyUp(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    if (m_action) {
        m_action->OnKeyUp(ch, repeatCount, flags);
        AfterEvent();
    }
    return 1;
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
