#pragma once

#include "geomFeature/host/appframe/IAction.h"
#include "geomFeature/host/appframe/InteractBase.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// What every action holds: the viewport it works in, the action that follows it, the prompt to show and the
// points the user has entered in the current step. Input handlers ignore their input (InteractBase).
//
// Typed values: the editor's tools read the typed buffer (ValInputMgr) when the end key is pressed and pass
// the value through ConvertKBInput before using it as a click. The default conversion is what CAD users
// expect when a tool asks for a point:
// - "x,y" is the point itself;
// - "@dx,dy" is relative to the last entered point (to the origin when none was entered);
// - a single value d is the point at distance d from the last entered point towards the cursor (along +x
//   when the cursor is on that point, or when no point was entered, from the origin).
// Tools that ask for an angle or a distance override it.
class ActionBase : public virtual IAction, public InteractBase {
public:
    explicit ActionBase(const GlViewPortPtr& viewPort);
    ~ActionBase() override = default;

    Point2DPtr GetFstInput() const override;
    int GetPromptMsg(int& messageID, int& secondID) const override;
    IActionPtr GetNextAction() const override { return m_nextAction; }
    // Draws nothing.
    int DrawBeforeFinish() override { return 1; }
    int ConvertKBInput(double& x, double& y) override;
    void UpdateForUndoRedo() override {}
    void UpdateActionBuffer() override {}
    int IsProcessRightClickEvent() const override { return 0; }

    const GlViewPortPtr& GetViewPort() const { return m_viewPort; }
    // The points entered in the current step, oldest first.
    const Point2DList& GetInputs() const { return m_inputs; }

protected:
    void SetNextAction(const IActionPtr& next) { m_nextAction = next; }
    void SetPromptMsg(int messageID, int secondID = 0) {
        m_promptID = messageID;
        m_secondPromptID = secondID;
    }
    // Records a point the user entered (a click or a typed point).
    void AddInput(const Point2D& point) { m_inputs.push_back(point); }
    void ClearInputs() { m_inputs.clear(); }

    GlViewPortPtr m_viewPort;

private:
    IActionPtr m_nextAction;
    int m_promptID = 0;
    int m_secondPromptID = 0;
    Point2DList m_inputs;
};

}  // namespace Norvane
