#include "geomFeature/host/uikit/XBarBase.h"

namespace Norvane {

XBarBase::XBarBase(int titleID, int windowID) : m_titleID(titleID), m_windowID(windowID) {}

void XBarBase::ShowPane(int show, int delay, int activate) {
    const int visible = show != 0 ? 1 : 0;
    m_delay = delay != 0 ? 1 : 0;
    m_activate = activate != 0 ? 1 : 0;
    if (visible != m_visible) {
        m_visible = visible;
        NotifyAllObserver();
    }
}

}  // namespace Norvane
