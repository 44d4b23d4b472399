#include "geomFeature/editor/PartEditCommand.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

PartEditCommand::PartEditCommand(const EditorData& editorData, const std::wstring& name,
                                 const PatternListPtr& patterns, const PatLoopListPtr& loops, Edit edit,
                                 const PatternListPtr& touched)
    : PatternCommandBase(editorData, name, patterns, loops),
      m_edit(std::move(edit)),
      m_touched(touched ? touched : boost::make_shared<PatternList>()) {}

void PartEditCommand::Do() {
    if (!m_patterns) {
        return;
    }
    if (!m_done) {
        FirstDo();
    } else {
        Restore(true);
    }
    MarkAndNotify();
}

void PartEditCommand::UnDo() {
    if (!m_patterns || !m_done) {
        return;
    }
    Restore(false);
    MarkAndNotify();
}

// Puts the part in the state after the edit (forward) or before it, without running the edit.
void PartEditCommand::Restore(bool forward) {
    PatternForwarding::ResolveList(*m_touched);
    BeginLoops();
    if (forward) {
        Replace(m_removed, m_added);
    } else {
        Replace(m_added, m_removed);
    }
    RestoreTouched(forward ? *m_touchedAfter : *m_touchedBefore);
    if (m_loops) {
        LoopProcessor::UpdateCache(m_loops);
    }
    EndLoops(forward);
}

void PartEditCommand::MarkAndNotify() {
    m_patterns->SetModified(1);
    if (m_loops) {
        m_loops->SetModified(1);
    }
    NotifyLists();
}

void PartEditCommand::FirstDo() {
    const std::vector<IPatternPtr> before(m_patterns->begin(), m_patterns->end());
    m_touchedBefore = detail::GeometryCopies(*m_touched);
    BeginLoops();
    m_result = m_edit ? m_edit() : 0;
    EndLoops(true);
    m_touchedAfter = detail::GeometryCopies(*m_touched);

    const std::unordered_set<const IPattern*> afterSet = [this] {
        std::unordered_set<const IPattern*> set;
        for (const IPatternPtr& p : *m_patterns) {
            set.insert(p.get());
        }
        return set;
    }();
    std::unordered_set<const IPattern*> beforeSet;
    for (std::size_t i = 0; i < before.size(); ++i) {
        beforeSet.insert(before[i].get());
        if (before[i] && afterSet.count(before[i].get()) == 0) {
            m_removed.push_back(Placed{before[i], i});
        }
    }
    for (std::size_t i = 0; i < m_patterns->size(); ++i) {
        const IPatternPtr& p = (*m_patterns)[i];
        if (p && beforeSet.count(p.get()) == 0) {
            m_added.push_back(Placed{p, i});
        }
    }
    m_edit = nullptr;  // run once: let go of whatever it captured
    m_done = true;
}

void PartEditCommand::Replace(const std::vector<Placed>& take, const std::vector<Placed>& put) {
    for (const Placed& placed : take) {
        m_patterns->RemovePattern(PatternForwarding::Resolve(placed.pattern));
    }
    // Ascending indices: each lands where it stood once those before it are back.
    for (const Placed& placed : put) {
        m_patterns->InsertBefore(PatternForwarding::Resolve(placed.pattern), static_cast<int>(placed.index));
    }
}

void PartEditCommand::RestoreTouched(const PatternList& geometry) {
    const std::size_t n = std::min(m_touched->size(), geometry.size());
    for (std::size_t i = 0; i < n; ++i) {
        const IPatternPtr& pattern = (*m_touched)[i];
        if (pattern && geometry[i]) {
            pattern->UpdateFrom(geometry[i]);
            pattern->UpdateCache();
            // An array draws its copies from its seed: a seed that changed changes the array's outline.
            if (const IPatternPtr array = pattern->IsControlPat()) {
                array->UpdateCache();
            }
        }
    }
}

}  // namespace Norvane
