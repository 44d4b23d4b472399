#pragma once

#include <functional>
#include <string>

#include "geomFeature/host/appframe/WindowHandle.h"

namespace Norvane {

// The debug log: diagnostics that tell a developer about unexpected but survivable situations (a loop that
// could not be cut as expected, an unknown record). Never shown to the user.
//
// Every message goes to the installed sink. Without a sink, messages are written to stderr, one per line,
// when logging is enabled: by SetEnabled(true) or by starting the process with GF_DEBUG_LOG=1. All
// operations are thread-safe; messages from several threads are delivered one at a time, never interleaved.
class LogMgr {
public:
    using Sink = std::function<void(const std::wstring&)>;

    // `window` names the window the message concerns; the log does not use it.
    static void DebugWarn(const std::wstring& text, WindowHandle window = nullptr);
    // Replaces the sink; an empty sink restores the default. The sink is called under the log's lock, so it
    // must not call DebugWarn itself.
    static void SetSink(Sink sink);
    static void SetEnabled(bool enabled);
    static bool IsEnabled();
};

}  // namespace Norvane
