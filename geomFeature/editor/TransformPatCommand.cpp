#include "geomFeature/editor/TransformPatCommand.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

TransformPatCommand::TransformPatCommand(const EditorData& editorData, const std::wstring& name,
                                         const PatLoopListPtr& loops, const PatternListPtr& patterns,
                                         const PatternListPtr& geometry)
    : PatternCommandBase(editorData, name, PatternListPtr(), loops),
      m_transformed(boost::make_shared<PatternList>()),
      m_held(boost::make_shared<PatternList>()) {
    // Each pattern once, with the geometry given for its first entry.
    if (!patterns || !geometry) {
        return;
    }
    std::unordered_set<DataID> seen;
    for (std::size_t i = 0; i < std::min(patterns->size(), geometry->size()); ++i) {
        const IPatternPtr& pattern = (*patterns)[i];
        if (pattern && (*geometry)[i] && seen.insert(pattern->GetID()).second) {
            m_transformed->push_back(pattern);
            m_held->push_back((*geometry)[i]);
        }
    }
}

void TransformPatCommand::Do() {
    Swap(true);
}

void TransformPatCommand::UnDo() {
    Swap(false);
}

void TransformPatCommand::Swap(bool forward) {
    if (!m_transformed || !m_held) {
        return;
    }
    PatternForwarding::ResolveList(*m_transformed);
    BeginLoops();
    const std::size_t n = std::min(m_transformed->size(), m_held->size());
    auto current = boost::make_shared<PatternList>();
    for (std::size_t i = 0; i < n; ++i) {
        const IPatternPtr& pattern = (*m_transformed)[i];
        current->push_back(detail::GeometryCopy(pattern));
        pattern->UpdateFrom((*m_held)[i]);
        pattern->SetModified(1);
    }
    m_held = current;
    m_transformed->UpdateCache();
    RelinkChanged(*m_transformed);
    if (m_loops) {
        m_loops->SetModified(1);
    }
    EndLoops(forward);
    NotifyChanged(*m_transformed);
}

}  // namespace Norvane
