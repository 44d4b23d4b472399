#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/appframe/ICommand.h"

namespace Norvane {

// The undo and redo history of the application (one per process).
//
// AddCommand takes a command that has already been done and puts it on top of the undo history; it
// discards the redo history, since the commands there were undone before the new change and no longer
// apply to the current state. Undo calls UnDo on the newest done command and moves it to the redo history;
// Redo calls Do on the most recently undone command and moves it back. Used on the user-interface thread.
class CommandManager {
public:
    static CommandManager* GetInstance();

    // Ignores an empty pointer.
    void AddCommand(const ICommandPtr& command);
    // 1 when a command was undone (or redone), 0 when there was nothing to do.
    int Undo();
    int Redo();
    int CanUndo() const { return m_undo.empty() ? 0 : 1; }
    int CanRedo() const { return m_redo.empty() ? 0 : 1; }
    // The command that Undo (Redo) would act on next; empty when none. For menu texts.
    ICommandPtr GetUndoCommand() const;
    ICommandPtr GetRedoCommand() const;
    std::size_t GetUndoCount() const { return m_undo.size(); }
    std::size_t GetRedoCount() const { return m_redo.size(); }
    // Forgets both histories (for example when a part is closed).
    void Clear();

private:
    CommandManager() = default;

    std::vector<ICommandPtr> m_undo;  // oldest first
    std::vector<ICommandPtr> m_redo;  // the next command to redo last
};

}  // namespace Norvane
