#pragma once

#include <string>
#include <utility>

#include "geomFeature/host/appframe/WindowHandle.h"

namespace Norvane {

// Which editor made a command: the window it works in (owner of any message box the command shows) and its
// display name.
class EditorData {
public:
    EditorData() = default;
    EditorData(WindowHandle window, std::wstring name) : m_window(window), m_name(std::move(name)) {}

    WindowHandle GetWindow() const { return m_window; }
    const std::wstring& GetEditorName() const { return m_name; }

private:
    WindowHandle m_window = nullptr;
    std::wstring m_name;
};

}  // namespace Norvane
