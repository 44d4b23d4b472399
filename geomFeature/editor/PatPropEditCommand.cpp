#include "geomFeature/editor/PatPropEditCommand.h"

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatPropEditCommand::PatPropEditCommand(const EditorData& editorData, const PatLoopListPtr& loops,
                                       const IPatternPtr& pattern, const DataPropItem& newItem,
                                       const DataPropItem& oldItem)
    : PatternCommandBase(editorData, ResourceString::Load(kResPropEditCmd), PatternListPtr(), loops),
      m_pattern(pattern),
      m_newItem(newItem),
      m_oldItem(oldItem) {}

void PatPropEditCommand::Do() {
    if (m_pattern && !m_before) {
        m_before = detail::GeometryCopy(m_pattern);
    }
    Apply(m_newItem, true);
}

void PatPropEditCommand::UnDo() {
    Apply(m_oldItem, false);
}

void PatPropEditCommand::Apply(DataPropItem& item, bool forward) {
    if (!m_pattern) {
        return;
    }
    m_pattern = PatternForwarding::Resolve(m_pattern);
    BeginLoops();
    m_pattern->UpdateProperty(item);
    if (!forward && m_before) {
        m_pattern->UpdateFrom(m_before);
    }
    m_pattern->UpdateCache();
    m_pattern->SetModified(1);
    const PatternListPtr changed = ListOf(m_pattern);
    RelinkChanged(*changed);
    EndLoops(forward);
    NotifyChanged(*changed);
}

}  // namespace Norvane
