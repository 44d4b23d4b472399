#include "geomFeature/editor/ArrayPatternCommand.h"

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

ArrayPatternCommand::ArrayPatternCommand(const EditorData& editorData, const PatternListPtr& patterns,
                                         const PatLoopListPtr& loops, const IArrayPatternPtr& array,
                                         const IPatternPtr& control)
    : PatternCommandBase(editorData, ResourceString::Load(kResArrayPatternCmd), patterns, loops),
      m_array(array),
      m_control(control) {
    if (m_array && m_control && !m_array->GetControlPat()) {
        m_array->SetControlPat(m_control);
    }
}

void ArrayPatternCommand::Do() {
    if (!m_array || !m_control || !m_patterns || !m_loops) {
        return;
    }
    ResolveControl();
    BeginLoops();
    m_array->UpdateCache();
    m_patterns->push_back(m_array);
    m_patterns->SetModified(1);
    LoopProcessor::AddPatToLoopListEx(m_loops, m_array, kEditJoinTol);
    m_control->SetBeControlPat(m_array);
    LoopProcessor::DelPatFromLoopListEx(m_loops, m_control, kEditJoinTol);
    m_loops->SetModified(1);
    EndLoops(true);
    NotifyLists();
}

void ArrayPatternCommand::UnDo() {
    if (!m_array || !m_control || !m_patterns || !m_loops) {
        return;
    }
    ResolveControl();
    BeginLoops();
    m_patterns->RemovePattern(m_array);
    m_patterns->SetModified(1);
    LoopProcessor::DelPatFromLoopListEx(m_loops, m_array, kEditJoinTol);
    m_control->SetBeControlPat(IPatternPtr());
    LoopProcessor::AddPatToLoopListEx(m_loops, m_control, kEditJoinTol);
    m_loops->SetModified(1);
    EndLoops(false);
    NotifyLists();
}

// A control pattern rebuilt by a redo (a piece of an exploded shape) replaces the old one on both sides.
void ArrayPatternCommand::ResolveControl() {
    const IPatternPtr control = PatternForwarding::Resolve(m_control);
    if (control != m_control) {
        m_control = control;
        m_array->SetControlPat(m_control);
    }
}

}  // namespace Norvane
