#include "geomFeature/host/appframe/CommandManager.h"

namespace Norvane {

CommandManager* CommandManager::GetInstance() {
    static CommandManager instance;
    return &instance;
}

void CommandManager::AddCommand(const ICommandPtr& command) {
    if (!command) {
        return;
    }
    m_undo.push_back(command);
    m_redo.clear();
}

int CommandManager::Undo() {
    if (m_undo.empty()) {
        return 0;
    }
    // Move the command first: should UnDo reach back into the manager, the histories are already consistent.
    ICommandPtr command = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(command);
    command->UnDo();
    return 1;
}

int CommandManager::Redo() {
    if (m_redo.empty()) {
        return 0;
    }
    ICommandPtr command = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(command);
    command->Do();
    return 1;
}

ICommandPtr CommandManager::GetUndoCommand() const {
    return m_undo.empty() ? ICommandPtr() : m_undo.back();
}

ICommandPtr CommandManager::GetRedoCommand() const {
    return m_redo.empty() ? ICommandPtr() : m_redo.back();
}

void CommandManager::Clear() {
    m_undo.clear();
    m_redo.clear();
}

}  // namespace Norvane
