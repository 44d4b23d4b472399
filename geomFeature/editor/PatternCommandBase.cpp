#include "geomFeature/editor/PatternCommandBase.h"

#include <unordered_set>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/detail/LoopJournal.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

PatternCommandBase::PatternCommandBase(const EditorData& editorData, std::wstring name,
                                       const PatternListPtr& patterns, const PatLoopListPtr& loops)
    : CommandBase(editorData, std::move(name)),
      m_patterns(patterns),
      m_loops(loops),
      m_journal(std::make_unique<detail::LoopJournal>()) {}

PatternCommandBase::~PatternCommandBase() = default;

void PatternCommandBase::BeginLoops() {
    if (m_loops) {
        m_journal->Begin(*m_loops);
    }
}

void PatternCommandBase::EndLoops(bool forward) {
    if (m_loops) {
        m_journal->End(*m_loops, forward);
    }
}

void PatternCommandBase::AddAndLink(const PatternList& patterns) {
    for (const IPatternPtr& pattern : patterns) {
        m_patterns->push_back(pattern);
        // A seed added with its array (a copied array) joins no loop: the array's loop stands for it.
        if (!pattern->IsControlPat()) {
            LoopProcessor::AddPatToLoopList(m_loops, pattern, kEditJoinTol);
        }
    }
    LoopProcessor::UpdateCache(m_loops);
}

void PatternCommandBase::UnlinkAndRemove(const PatternList& patterns) {
    for (const IPatternPtr& pattern : patterns) {
        m_patterns->RemovePattern(pattern);
        if (!pattern->IsControlPat()) {
            LoopProcessor::DelPatFromLoopList(m_loops, pattern, kEditJoinTol);
        }
    }
    LoopProcessor::UpdateCache(m_loops);
}

void PatternCommandBase::RelinkChanged(const PatternList& changed) {
    if (!m_loops) {
        return;
    }
    auto copy = boost::make_shared<PatternList>();
    copy->insert(copy->end(), changed.begin(), changed.end());
    LoopProcessor::ChangePatInLoopList(m_loops, copy);
}

void PatternCommandBase::NotifyLists() const {
    if (m_patterns) {
        m_patterns->NotifyAllObserver();
    }
    if (m_loops) {
        m_loops->NotifyAllObserver();
    }
}

void PatternCommandBase::NotifyChanged(const PatternList& changed) const {
    for (const IPatternPtr& pattern : changed) {
        if (pattern) {
            pattern->NotifyAllObserver();
        }
    }
    if (m_loops) {
        m_loops->NotifyAllObserver();
    }
}

PatternListPtr PatternCommandBase::ListOf(const IPatternPtr& pattern) {
    auto list = boost::make_shared<PatternList>();
    list->push_back(pattern);
    return list;
}

PatternListPtr PatternCommandBase::Distinct(const PatternListPtr& list) {
    auto distinct = boost::make_shared<PatternList>();
    if (!list) {
        return distinct;
    }
    std::unordered_set<DataID> seen;
    for (const IPatternPtr& pattern : *list) {
        if (pattern && seen.insert(pattern->GetID()).second) {
            distinct->push_back(pattern);
        }
    }
    return distinct;
}

}  // namespace Norvane
