#pragma once

#include <cstddef>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GeomPropBarBase.h"
#include "geomFeature/editor/PropGrid.h"
#include "geomFeature/host/appframe/WindowHandle.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// The pane that shows the selected patterns' values in a property grid (one per process) and turns every
// edit made there into an undoable PatPropEditCommand. The selection action fills and shows it; every switch
// of action in the geometry editor hides it. A window system observes it (XBarBase): it shows and hides the
// pane, renders GetGrid when told the content changed (drop-downs for rows with options, numeric entries
// for numbers), and reports an edit with SetEntryText and OnPropertyChange.
//
// One pattern selected: group 11501 (its type name) then group 12099 (its values, editable). Several: one
// read-only group 12007 listing how many patterns of each kind are selected.
//
// An edit is taken when its text is a value for the row and the pattern, given it, stays sound
// (IsSoundShape) and reports the value back (a value the pattern clamps or ignores is no edit). A taken edit
// is recorded and done, the view repainted and the grid refilled; any other shows message 12441 and shows
// the pattern's values again unchanged. An unchanged text does nothing.
class GF_API PatternPropBar : public GeomPropBarBase {
public:
    // The bar; the first call creates it (caption 12100, window id 12750) as a child of `parent`.
    static PatternPropBar* GetInstance(WindowHandle parent = nullptr);

    // Remembers the lists, fills the grid, shows the bar and tells its observers that the content changed.
    void DisplayPatProp(const PatLoopListPtr& loops, const PatternListPtr& patterns);

    // The grid's change notification for the row (group index, row index) whose text the user changed.
    // Answers 1 when the edit was recorded, 0 otherwise.
    int OnPropertyChange(unsigned int group, long int entry);
    // The same for the first row showing that item, given the text entered (for scripts and tests).
    int EditProperty(int itemID, const std::wstring& text);

    const PropGrid& GetGrid() const { return m_grid; }
    PropGrid& GetGrid() { return m_grid; }
    // The lists last shown (empty before the first DisplayPatProp).
    const PatternListPtr& GetPatternList() const { return m_patterns; }
    const PatLoopListPtr& GetLoopList() const { return m_loops; }

private:
    PatternPropBar();

    void FillGrid();
    // The edit refused: message 12441 and the values shown again.
    int Refuse();

    static PatternPropBar* m_pPatPropBar;

    PatLoopListPtr m_loops;
    PatternListPtr m_patterns;
    PropGrid m_grid;
};

}  // namespace Norvane
