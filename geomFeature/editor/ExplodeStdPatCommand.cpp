#include "geomFeature/editor/ExplodeStdPatCommand.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

ExplodeStdPatCommand::ExplodeStdPatCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                           const PatLoopListPtr& loops, const IPatternPtr& pattern)
    : PatternCommandBase(editorData, ResourceString::Load(kResExplodeStdCmd), patterns, loops),
      m_pattern(pattern),
      m_pieces(boost::make_shared<PatternList>()) {}

void ExplodeStdPatCommand::Do() {
    if (!m_pattern || !m_patterns || !m_loops) {
        return;
    }
    m_pattern = PatternForwarding::Resolve(m_pattern);
    BeginLoops();
    m_patterns->RemovePattern(m_pattern);
    m_patterns->SetModified(1);
    LoopProcessor::DelPatFromLoopListEx(m_loops, m_pattern, kEditJoinTol);
    const PatternListPtr pieces = PatDecomposer::DecomposeStdPat(m_pattern);
    pieces->UpdateCache();
    detail::ForwardPieces(*m_pieces, *pieces);
    m_pieces = pieces;
    AddAndLink(*m_pieces);
    m_loops->SetModified(1);
    EndLoops(true);
    NotifyLists();
}

void ExplodeStdPatCommand::UnDo() {
    if (!m_pattern || !m_patterns || !m_loops) {
        return;
    }
    BeginLoops();
    UnlinkAndRemove(*m_pieces);
    m_patterns->push_back(m_pattern);
    m_patterns->SetModified(1);
    LoopProcessor::AddPatToLoopListEx(m_loops, m_pattern, kEditJoinTol);
    m_loops->SetModified(1);
    EndLoops(false);
    NotifyLists();
}

}  // namespace Norvane
