#include "geomFeature/editor/GripEditCommand.h"

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

GripEditCommand::GripEditCommand(const EditorData& editorData, const PatLoopListPtr& loops,
                                 const IPatternPtr& pattern, const IPatternPtr& geometry)
    : PatternCommandBase(editorData, ResourceString::Load(kResGripEditCmd), PatternListPtr(), loops),
      m_pattern(pattern),
      m_held(geometry) {}

void GripEditCommand::Do() {
    Swap(true);
}

void GripEditCommand::UnDo() {
    Swap(false);
}

void GripEditCommand::Swap(bool forward) {
    if (!m_pattern || !m_held) {
        return;
    }
    m_pattern = PatternForwarding::Resolve(m_pattern);
    BeginLoops();
    const IPatternPtr current = detail::GeometryCopy(m_pattern);
    m_pattern->UpdateFrom(m_held);
    m_pattern->UpdateCache();
    m_pattern->SetModified(1);
    m_held = current;
    const PatternListPtr changed = ListOf(m_pattern);
    RelinkChanged(*changed);
    EndLoops(forward);
    NotifyChanged(*changed);
}

}  // namespace Norvane
