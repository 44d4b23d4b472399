#include "geomFeature/editor/CopyPatternCommand.h"

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

CopyPatternCommand::CopyPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                       const PatLoopListPtr& loops, const PatternListPtr& copies)
    : PatternCommandBase(editorData, ResourceString::Load(kResCopyPatternCmd), patterns, loops),
      m_copies(Distinct(copies)) {}

void CopyPatternCommand::Do() {
    if (!m_copies || !m_patterns || !m_loops) {
        return;
    }
    PatternForwarding::ResolveList(*m_copies);
    BeginLoops();
    m_copies->UpdateCache();
    AddAndLink(*m_copies);
    m_patterns->SetModified(1);
    m_loops->SetModified(1);
    EndLoops(true);
    NotifyLists();
}

void CopyPatternCommand::UnDo() {
    if (!m_copies || !m_patterns || !m_loops) {
        return;
    }
    PatternForwarding::ResolveList(*m_copies);
    BeginLoops();
    UnlinkAndRemove(*m_copies);
    m_patterns->SetModified(1);
    m_loops->SetModified(1);
    EndLoops(false);
    NotifyLists();
}

}  // namespace Norvane
