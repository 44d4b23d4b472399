#include "geomFeature/editor/AddPatternCommand.h"

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

AddPatternCommand::AddPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                     const PatLoopListPtr& loops, const IPatternPtr& pattern)
    : PatternCommandBase(editorData, ResourceString::Load(kResAddPatternCmd), patterns, loops),
      m_pattern(pattern) {}

void AddPatternCommand::Do() {
    if (!m_pattern || !m_patterns) {
        return;
    }
    BeginLoops();
    m_pattern->UpdateCache();
    m_patterns->push_back(m_pattern);
    m_patterns->SetModified(1);
    if (m_loops) {
        LoopProcessor::AddPatToLoopListEx(m_loops, m_pattern, kEditJoinTol);
        m_loops->SetModified(1);
    }
    EndLoops(true);
    NotifyLists();
}

void AddPatternCommand::UnDo() {
    if (!m_pattern || !m_patterns) {
        return;
    }
    BeginLoops();
    m_patterns->RemovePattern(m_pattern);
    m_patterns->SetModified(1);
    if (m_loops) {
        LoopProcessor::DelPatFromLoopListEx(m_loops, m_pattern, kEditJoinTol);
        m_loops->SetModified(1);
    }
    EndLoops(false);
    NotifyLists();
}

}  // namespace Norvane
