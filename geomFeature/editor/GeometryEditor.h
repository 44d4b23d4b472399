#pragma once

#include <string>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/EditorBase.h"
#include "geomFeature/host/appframe/ViewActionType.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;
struct PatternActionContext;

// The object through which a host edits the geometry of one part. The host creates it with its viewport
// and a drawing assistant, hands it the part's pattern and loop lists, routes every mouse and keyboard
// event of its drawing view to it and switches tools by code. Input goes to the one current action, which
// names its successor when it is done (EditorBase); in front of every mouse move the editor runs the
// drawing assistant for actions that use it.
//
// The lists and the assistant are shared with the host and with the actions the editor creates; the
// editor never copies them. Replacing a list reaches only actions created afterwards. Copies of an editor
// share the lists, the assistant and the current action.
//
// Every handler and every Set...Action answers 1, whatever happened; codes outside the tables are ignored.
class GF_API GeometryEditor : public EditorBase, public boost::enable_shared_from_this<GeometryEditor> {
public:
    // Both shared; the lists start empty (no part) and a DummyAction is current.
    GeometryEditor(const GlViewPortPtr& viewPort, const DrawAssistorPtr& assistor);
    GeometryEditor(const GeometryEditor&) = default;
    GeometryEditor& operator=(const GeometryEditor&) = default;
    ~GeometryEditor() override = default;

    void SetPatternList(const PatternListPtr& patterns) { m_patterns = patterns; }
    void SetPatLoopList(const PatLoopListPtr& loops) { m_loops = loops; }
    const PatternListPtr& GetPatternList() const { return m_patterns; }
    const PatLoopListPtr& GetPatLoopList() const { return m_loops; }
    const DrawAssistorPtr& GetDrawAssistor() const { return m_assistor; }

    // Each first hides the pattern property bar. A drawing tool becomes current at once. Selection (50)
    // becomes current at once. The other edit actions get the current selection (the selection action's
    // own list, or an empty one) and: 60 deletes it at once when it is not empty, 61 explodes its one
    // pattern at once when it is exactly one standard shape or array, 64 is refused with a warning when
    // it holds an array (the current action stays). Zoom in (-2) and out (-3) become current at once.
    int SetDrawAction(tagDrawActionType code);
    int SetEditAction(tagEditActionType code);
    int SetViewAction(tagViewActionType code);
    // Hides the pattern property bar and makes a new LoopSelectAction (code 51) current, for a host that asks
    // the user to pick loops; its selection is read from the action (GetActionObject). Answers 1.
    int SetLoopSelectAction();

    // The text of resource 12005.
    std::wstring GetEditorName() const override;

    // Before the current action sees the move: an action that uses the assistant has it initialised with
    // the pattern list and the action's first entered point and refreshed with the cursor; an action of
    // this module that does not use it clears its state, so nothing of an earlier tool stays visible; any
    // other action (dummy, zoom) leaves it alone.
    int MovePoint(double& x, double& y) override;

    // The current action's picture, then the assistant's hints.
    void DrawTransient() override;
    // For the host's clicks: when the current action uses the assistant and it found a snap point, (x, y)
    // becomes that point and 1 is answered; otherwise 0 and (x, y) is left alone.
    int ApplySnap(double& x, double& y) const;

private:
    PatternActionContext MakeContext(const PatternListPtr& selection) const;
    // The current action's drawing-assistant flag, or -1 when it is no action of this module.
    int CurrentAssistFlag() const;

    PatternListPtr m_patterns;
    PatLoopListPtr m_loops;
    DrawAssistorPtr m_assistor;
};

using GeometryEditorPtr = boost::shared_ptr<GeometryEditor>;

}  // namespace Norvane
