#pragma once

#include "geomFeature/host/appframe/EditorData.h"

namespace Norvane {

// Something that works for an editor (an action, a bar) and can say which one: the editor data that the
// commands it creates carry.
class IEditorInfo {
public:
    virtual ~IEditorInfo() = default;
    virtual EditorData GetEditorData() const = 0;
};

}  // namespace Norvane
