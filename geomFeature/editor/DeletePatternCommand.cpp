#include "geomFeature/editor/DeletePatternCommand.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

DeletePatternCommand::DeletePatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                           const PatLoopListPtr& loops, const PatternListPtr& deleted)
    : PatternCommandBase(editorData, ResourceString::Load(kResDeletePatternCmd), patterns, loops),
      m_deleted(Distinct(deleted)) {}

void DeletePatternCommand::Do() {
    if (!m_deleted || !m_patterns || !m_loops) {
        return;
    }
    PatternForwarding::ResolveList(*m_deleted);
    BeginLoops();
    auto ids = boost::make_shared<IntegerList>();
    for (const IPatternPtr& pattern : *m_deleted) {
        ids->AddInt(pattern->GetID());
    }
    m_patterns->RemovePatternsEx(ids);
    m_patterns->SetModified(1);
    for (const IPatternPtr& pattern : *m_deleted) {
        if (!pattern->IsControlPat()) {
            LoopProcessor::DelPatFromLoopList(m_loops, pattern, kEditJoinTol);
        }
    }
    FinishLoops();
    EndLoops(true);
    NotifyLists();
}

void DeletePatternCommand::UnDo() {
    if (!m_deleted || !m_patterns || !m_loops) {
        return;
    }
    PatternForwarding::ResolveList(*m_deleted);
    BeginLoops();
    m_patterns->AddPatterns(m_deleted);
    m_patterns->SetModified(1);
    for (const IPatternPtr& pattern : *m_deleted) {
        if (!pattern->IsControlPat()) {
            LoopProcessor::AddPatToLoopList(m_loops, pattern, kEditJoinTol);
        }
    }
    FinishLoops();
    EndLoops(false);
    NotifyLists();
}

// The loop caches refreshed, the boundary chosen again while loops remain, the loop list marked modified.
void DeletePatternCommand::FinishLoops() {
    LoopProcessor::UpdateCache(m_loops);
    if (!m_loops->empty()) {
        m_loops->UpdateBoundaryLoop();
    }
    m_loops->SetModified(1);
}

}  // namespace Norvane
