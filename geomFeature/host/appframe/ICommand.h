#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/EditorData.h"
#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

// An undoable change. The creator builds it, calls Do once and hands it to the CommandManager, which from
// then on alternates UnDo and Do for undo and redo. The order of the virtual operations is fixed.
class ICommand : public virtual IData {
public:
    ~ICommand() override = default;

    virtual void Do() = 0;
    virtual void UnDo() = 0;
    virtual std::wstring GetCommandName() const = 0;
    virtual EditorData GetEditorData() const = 0;
};

using ICommandPtr = boost::shared_ptr<ICommand>;

}  // namespace Norvane
