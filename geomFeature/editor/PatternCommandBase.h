#pragma once

#include <memory>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/CommandBase.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

namespace detail {
class LoopJournal;
}

// What the editing commands share: the part's lists (the pattern list may be absent for commands that
// change patterns in place), the observers' notification, and the loop journal that makes every undo give
// back the loops as they were before the command and every redo the loops as the first Do left them
// (detail::LoopJournal).
//
// Every Do and UnDo runs: BeginLoops, the command's own steps, EndLoops, then notification.
class GF_API PatternCommandBase : public CommandBase {
public:
    ~PatternCommandBase() override;

protected:
    PatternCommandBase(const EditorData& editorData, std::wstring name, const PatternListPtr& patterns,
                       const PatLoopListPtr& loops);

    void BeginLoops();
    // forward: after Do; otherwise after UnDo.
    void EndLoops(bool forward);
    // Appends each pattern to the pattern list and joins it to the loops (LoopProcessor::AddPatToLoopList,
    // tolerance 1e-4), then refreshes the loop caches. Seeds of arrays (copied with their arrays) join no
    // loop: the array's loop stands for them.
    void AddAndLink(const PatternList& patterns);
    // Takes each pattern out of the pattern list and out of its loop (DelPatFromLoopList; seeds have none),
    // then refreshes the loop caches.
    void UnlinkAndRemove(const PatternList& patterns);
    // Re-links patterns whose geometry changed (LoopProcessor::ChangePatInLoopList, on a copy of the list:
    // the upkeep takes out of its argument the patterns of loops that moved whole).
    void RelinkChanged(const PatternList& changed);
    // NotifyAllObserver on the pattern list, then on the loop list.
    void NotifyLists() const;
    // NotifyAllObserver on each changed pattern, then on the loop list.
    void NotifyChanged(const PatternList& changed) const;
    // A new list holding the one pattern.
    static PatternListPtr ListOf(const IPatternPtr& pattern);
    // A new list of the patterns of `list` without empty entries and without repeats (the first entry of
    // each identifier stays). A selection can name a pattern twice (control-clicked again); a command that
    // acted on it twice would not undo to where it started.
    static PatternListPtr Distinct(const PatternListPtr& list);

    PatternListPtr m_patterns;
    PatLoopListPtr m_loops;

private:
    std::unique_ptr<detail::LoopJournal> m_journal;
};

}  // namespace Norvane
