#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternCommandBase.h"

namespace Norvane {

// Makes an undoable command of any edit of the part that is done by an operation of its own rather than by
// one of the commands (for example offsetting a loop, which replaces the loop's patterns).
//
// The first Do runs the edit once and records what it did: the patterns it removed from the pattern list
// and where they stood, the patterns it added, the geometry of the patterns it may have changed in place
// (`touched`, given by the caller: before and after), and its effect on the loops. UnDo puts back exactly
// the state before the edit (the same pattern objects, at their places in the list, with their geometry;
// loops chaining the same patterns), redo the state after it; the edit itself never runs again. Both
// lists are marked modified and notified after every Do and UnDo.
//
// The edit answers an int (for example 0 for "could not be done"); GetResult gives it after the first Do.
// An edit that changes patterns in place without naming them in `touched`, or that changes anything but
// the two lists and the touched patterns, cannot be undone by this command.
class GF_API PartEditCommand : public PatternCommandBase {
public:
    using Edit = std::function<int()>;

    PartEditCommand(const EditorData& editorData, const std::wstring& name, const PatternListPtr& patterns,
                    const PatLoopListPtr& loops, Edit edit, const PatternListPtr& touched);

    void Do() override;
    void UnDo() override;

    int GetResult() const { return m_result; }

private:
    struct Placed {
        IPatternPtr pattern;
        std::size_t index;  // in the list before the edit (removed) or after it (added)
    };

    void FirstDo();
    void Restore(bool forward);
    void MarkAndNotify();
    // Removes `take` (by identity) and inserts `put` at their indices, in index order.
    void Replace(const std::vector<Placed>& take, const std::vector<Placed>& put);
    // Gives every touched pattern the geometry of the matching clone and refreshes its cache.
    void RestoreTouched(const PatternList& geometry);

    Edit m_edit;
    PatternListPtr m_touched;
    PatternListPtr m_touchedBefore;
    PatternListPtr m_touchedAfter;
    std::vector<Placed> m_removed;
    std::vector<Placed> m_added;
    bool m_done = false;
    int m_result = 0;
};

using PartEditCommandPtr = boost::shared_ptr<PartEditCommand>;

}  // namespace Norvane
