#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// What a drawing view must repaint after an event.
enum class Repaint {
    None,
    Overlay,  // the transient pictures only (the cached picture of the part stays)
    All,      // the part too: the view moved or the part changed
};

// The drawing view's input, without a window system: turns pointer, wheel and key events given in device
// pixels (origin top-left, y down) into the geometry editor's world-coordinate calls and into view
// changes, and says what must be repainted. The window feeds it its events one by one.
//
// - Left button: the editor's button down / up (double-click too) at the point the drawing assistant snaps
//   to, after a mouse move there, as a user's hand would. Right button up: the editor's right click.
// - Middle drag pans; the wheel zooms about the cursor (the world point under it stays put); Fit shows
//   the whole part.
// - Keys arrive as the editor's character codes (see TranslateKey); Ctrl+Z / Ctrl+Y are the window's.
class ViewInput {
public:
    // Each wheel step multiplies the scale by this (or divides).
    static constexpr double kWheelZoom = 1.25;
    // Free space around the part when it is fitted, in pixels.
    static constexpr double kFitMarginPixels = 20.0;

    explicit ViewInput(const GeometryEditorPtr& editor);

    Repaint Motion(double dx, double dy);
    // button: 1 left, 2 middle, 3 right; clicks: 1, or 2 for the press that completes a double-click.
    Repaint ButtonPress(int button, double dx, double dy, bool ctrl, int clicks = 1);
    Repaint ButtonRelease(int button, double dx, double dy, bool ctrl);
    // steps > 0 zooms in, < 0 out (fractions for smooth scrolling).
    Repaint Scroll(double dx, double dy, double steps);
    Repaint Key(unsigned int code, bool ctrl);
    Repaint Fit();
    // The drawing area got a new size: the scale and the world point at the top-left corner stay.
    Repaint Resize(int width, int height);

    // The editor's character code for an X keysym and the character it types (0 for none): Return, Enter,
    // Escape, BackSpace, Delete map to tagInputKey; printable characters to themselves; 0 for keys the
    // editor does not take (Shift, arrows, function keys).
    static unsigned int TranslateKey(unsigned int keysym, unsigned int unicode);

    // The cursor's last world position (snapped when the assistant found a point), for the status bar.
    const Point2D& GetCursorWorld() const { return m_cursor; }
    bool IsPanning() const { return m_panning; }

private:
    Point2D ToWorld(double dx, double dy) const;
    // The editor's mouse move at the device point; answers the point snapped if the action snaps.
    Point2D MoveTo(double dx, double dy);

    GeometryEditorPtr m_editor;
    Point2D m_cursor;
    bool m_panning = false;
    double m_panX = 0.0;
    double m_panY = 0.0;
};

}  // namespace Norvane
