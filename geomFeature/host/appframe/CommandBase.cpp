#include "geomFeature/host/appframe/CommandBase.h"

#include <utility>

namespace Norvane {

CommandBase::CommandBase(EditorData editorData, std::wstring commandName)
    : m_editorData(std::move(editorData)), m_commandName(std::move(commandName)) {}

IDataPtr CommandBase::Clone() const {
    return IDataPtr();
}

}  // namespace Norvane
