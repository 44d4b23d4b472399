#pragma once

#include <string>

#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/host/appframe/ICommand.h"

namespace Norvane {

// Stores what every command carries: the editor that made it and its display name. Do and UnDo are left to
// the concrete command. Commands are not duplicated, so Clone gives an empty pointer unless overridden.
class CommandBase : public DataBase, public virtual ICommand {
public:
    CommandBase(EditorData editorData, std::wstring commandName);
    ~CommandBase() override = default;

    std::wstring GetCommandName() const override { return m_commandName; }
    EditorData GetEditorData() const override { return m_editorData; }
    IDataPtr Clone() const override;

protected:
    EditorData m_editorData;
    std::wstring m_commandName;
};

}  // namespace Norvane
