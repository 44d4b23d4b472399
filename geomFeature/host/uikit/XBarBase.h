#pragma once

#include "geomFeature/host/appframe/SubjectBase.h"
#include "geomFeature/host/appframe/WindowHandle.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// A dockable pane of the main window (a property bar, an output bar), kept as a model: whether it is
// shown, its caption and window id, and the drawing view it works for. A window system observes the bar
// (ISubject) and shows, hides and refills its pane when notified; observers are told of every change of
// visibility and of every change of content the bar reports (NotifyContentChanged).
class XBarBase : public SubjectBase {
public:
    XBarBase(int titleID, int windowID);
    XBarBase(const XBarBase&) = delete;
    XBarBase& operator=(const XBarBase&) = delete;
    ~XBarBase() override = default;

    // Shows or hides the pane. `delay`: the window system may wait for the layout to settle; `activate`:
    // a shown pane takes the focus. Observers hear of it only when the visibility changes.
    void ShowPane(int show, int delay, int activate);
    // ShowPane(show, no delay, activate).
    void ShowBar(int show) { ShowPane(show, 0, 1); }
    int IsVisible() const { return m_visible; }
    // The settings of the last ShowPane, for the window system.
    int IsDelayed() const { return m_delay; }
    int IsActivated() const { return m_activate; }

    int GetTitleID() const { return m_titleID; }
    int GetWindowID() const { return m_windowID; }
    WindowHandle GetParentWindow() const { return m_parent; }
    void SetParentWindow(WindowHandle parent) { m_parent = parent; }
    // The drawing view to repaint after the bar changed the data (empty when none is set).
    GlViewPortPtr GetRelativeView() const { return m_view; }
    void SetRelativeView(const GlViewPortPtr& view) { m_view = view; }

protected:
    void NotifyContentChanged() { NotifyAllObserver(); }

private:
    int m_titleID;
    int m_windowID;
    int m_visible = 0;
    int m_delay = 0;
    int m_activate = 0;
    WindowHandle m_parent = nullptr;
    GlViewPortPtr m_view;
};

}  // namespace Norvane
