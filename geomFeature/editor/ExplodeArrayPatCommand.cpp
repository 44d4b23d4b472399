#include "geomFeature/editor/ExplodeArrayPatCommand.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

ExplodeArrayPatCommand::ExplodeArrayPatCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                               const PatLoopListPtr& loops, const IArrayPatternPtr& array)
    : PatternCommandBase(editorData, ResourceString::Load(kResExplodeArrayCmd), patterns, loops),
      m_array(array),
      m_control(array ? array->GetControlPat() : IPatternPtr()),
      m_pieces(boost::make_shared<PatternList>()) {}

void ExplodeArrayPatCommand::Do() {
    if (!m_array || !m_patterns || !m_loops) {
        return;
    }
    BeginLoops();
    m_control = m_array->GetControlPat();
    const PatternListPtr pieces = PatDecomposer::DecomposeGridPat(m_array);
    pieces->UpdateCache();
    detail::ForwardPieces(*m_pieces, *pieces);
    m_pieces = pieces;
    AddAndLink(*m_pieces);
    if (m_control) {
        m_patterns->RemovePattern(m_control);
    }
    m_patterns->RemovePattern(m_array);
    m_patterns->SetModified(1);
    LoopProcessor::DelPatFromLoopListEx(m_loops, m_array, kEditJoinTol);
    m_loops->SetModified(1);
    EndLoops(true);
    NotifyLists();
}

void ExplodeArrayPatCommand::UnDo() {
    if (!m_array || !m_patterns || !m_loops) {
        return;
    }
    BeginLoops();
    UnlinkAndRemove(*m_pieces);
    if (m_control) {
        m_patterns->push_back(m_control);
    }
    m_patterns->push_back(m_array);
    m_patterns->SetModified(1);
    LoopProcessor::AddPatToLoopListEx(m_loops, m_array, kEditJoinTol);
    m_loops->SetModified(1);
    EndLoops(false);
    NotifyLists();
}

}  // namespace Norvane
