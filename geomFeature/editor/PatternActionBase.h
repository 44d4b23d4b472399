#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/IPatManAction.h"
#include "geomFeature/host/appframe/ActionBase.h"
#include "geomFeature/host/appframe/ICommand.h"
#include "geomFeature/host/appframe/IEditorInfo.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// The common base of the module's actions (drawing tools, selection and transform actions, loop offset).
// Every action is built with the part's pattern list, its loop list and the viewport (actions that work on
// a selection take the selected patterns as a fourth argument), and uses the drawing assistant unless it
// says otherwise (SetDrawAssist(0) in its constructor).
//
// Shared behaviour:
// - the cancel key makes a new PatternSelectAction the next action (subclasses that handle keys call this
//   OnKeyDown for the cancel key too);
// - after an edit, an action hands over to selection with what it made selected (SwitchToSelection);
// - the commands it creates carry GetEditorData: the viewport's window and the editor's name;
// - RunCommand does a command and hands it to the command manager, the only way an action changes the part.
class GF_API PatternActionBase : public virtual IPatManAction, public ActionBase, public IEditorInfo {
public:
    PatternActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                      const GlViewPortPtr& viewPort);
    ~PatternActionBase() override = default;

    int SupportDrawAssist() const override { return m_drawAssist; }
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    EditorData GetEditorData() const override;

    const PatternListPtr& GetPatternList() const { return m_patterns; }
    const PatLoopListPtr& GetLoopList() const { return m_loops; }

    // Deletes the given patterns, and the seed of every array among them, through one DeletePatternCommand;
    // then a new PatternSelectAction is the next action. Answers 1 when something was deleted, 0 for an
    // empty or missing selection (nothing happens). The editor calls it on the delete action at once when
    // that action is chosen with a selection; overrides may add to it.
    virtual int DeleteSelected(const PatternListPtr& selection);
    // Explodes a standard shape (ExplodeStdPatCommand) or an array (ExplodeArrayPatCommand) at once; then a
    // new PatternSelectAction is the next action. Answers 1 when exploded, 0 (nothing happens) for any
    // other pattern. The editor calls it on the explode action when that action is chosen with exactly one
    // such pattern selected.
    virtual int ExplodePat(const IPatternPtr& pattern);

protected:
    void SetDrawAssist(int flag) { m_drawAssist = flag; }
    // The keyboard of an action that takes points, for its OnKeyDown: the cancel key as in OnKeyDown; the
    // end key reads the typed value (or, when nothing usable was typed, the viewport's cursor), passes it
    // through ConvertKBInput and uses it as a click (LButtonDown), so a typed point acts exactly like a
    // click; then the key goes to the typed buffer (ValInputMgr::AcceptInputChar). Answers 1.
    int KeyDownForPoint(unsigned int ch, unsigned int repeatCount, unsigned int flags);
    // Return to selection after an edit: a new PatternSelectAction, selecting the pattern (the list),
    // becomes the next action.
    void SwitchToSelection(const IPatternPtr& pattern);
    void SwitchToSelection(const PatternListPtr& patterns);
    // Does the command and hands it to the command manager (which undoes and redoes it from then on).
    static void RunCommand(const ICommandPtr& command);
    // A warning box with the text of resource textID, owned by the viewport's window.
    int ShowWarning(int textID) const;

    PatternListPtr m_patterns;
    PatLoopListPtr m_loops;

private:
    int m_drawAssist = 1;
};

using PatternActionBasePtr = boost::shared_ptr<PatternActionBase>;

}  // namespace Norvane
