#pragma once

#include <string>

#include "geomFeature/host/appframe/IEditor.h"
#include "geomFeature/host/appframe/IOutputBar.h"

namespace Norvane {

// The framework's editor: one current action, the viewport, and the output bar that shows the prompt.
//
// Every input event goes the same way: with no current action nothing happens; otherwise the event goes,
// unchanged, to the same handler of the current action; then the action's successor (GetNextAction), when
// it names one, becomes the current action (the old one is released when its last holder lets go); then
// the output bar is refreshed. Every handler answers 1. An editor starts with a DummyAction.
//
// A host routes its view's events to the handlers, draws DrawTransient after repainting the part, and
// calls Undo and Redo (or the command manager followed by UpdateActionForUndoRedo).
//
// Copies share the current action, the viewport and the output bar.
class EditorBase : public virtual IEditor {
public:
    explicit EditorBase(const GlViewPortPtr& viewPort);
    EditorBase(const EditorBase&) = default;
    EditorBase& operator=(const EditorBase&) = default;
    ~EditorBase() override = default;

    int LButtonDown(double& x, double& y) override;
    int LButtonUp(double& x, double& y) override;
    int LButtonDBClk(double& x, double& y) override;
    int RButtonUp(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    int OnKeyUp(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;

    IActionPtr GetActionObject() const override { return m_action; }
    void SetDummyAction() override;
    GlViewPortPtr GetDrawer() const override { return m_viewPort; }
    // Passes the current action's prompt and the typed buffer (ValInputMgr) to the output bar, if any.
    void UpdateOutputBar() override;
    // The current action's UpdateForUndoRedo; when the action then names a successor, it becomes current
    // at once (the user sees the change without moving the mouse); then the output bar is refreshed.
    void UpdateActionForUndoRedo() override;
    // An empty name; editors name themselves.
    std::wstring GetEditorName() const override { return std::wstring(); }

    void SetOutputBar(const IOutputBarPtr& bar) { m_outputBar = bar; }
    const IOutputBarPtr& GetOutputBar() const { return m_outputBar; }

    // Undo / redo one command through the command manager, then UpdateActionForUndoRedo. 1 when a command
    // was undone (redone), 0 when there was none.
    int Undo();
    int Redo();

    // The current action's transient picture (DrawBeforeFinish); editors add their own hints.
    virtual void DrawTransient();

protected:
    // Makes action current at once (empty pointers are ignored).
    void SetActionObject(const IActionPtr& action);
    // Steps 3 and 4 of every event: take the successor, refresh the output bar.
    void AfterEvent();
    template <class Event>
    int Dispatch(Event&& event);

    IActionPtr m_action;
    GlViewPortPtr m_viewPort;
    IOutputBarPtr m_outputBar;
};

}  // namespace Norvane
