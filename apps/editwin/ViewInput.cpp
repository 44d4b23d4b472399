#include "apps/editwin/ViewInput.h"

#include <cmath>

#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// X keysyms of the keys the editor takes by code.
constexpr unsigned int kKeysymBackSpace = 0xff08;
constexpr unsigned int kKeysymReturn = 0xff0d;
constexpr unsigned int kKeysymEscape = 0xff1b;
constexpr unsigned int kKeysymDelete = 0xffff;
constexpr unsigned int kKeysymKpEnter = 0xff8d;

// Ctrl held for the editor during one call, released afterwards whatever happens.
class CtrlScope {
public:
    explicit CtrlScope(bool ctrl) { ValInputMgr::GetInstance()->SetCtrlDown(ctrl ? 1 : 0); }
    ~CtrlScope() { ValInputMgr::GetInstance()->SetCtrlDown(0); }
    CtrlScope(const CtrlScope&) = delete;
    CtrlScope& operator=(const CtrlScope&) = delete;
};

}  // namespace

ViewInput::ViewInput(const GeometryEditorPtr& editor) : m_editor(editor) {}

Point2D ViewInput::ToWorld(double dx, double dy) const {
    return m_editor->GetDrawer()->PointDToW(Point2D(dx, dy));
}

Point2D ViewInput::MoveTo(double dx, double dy) {
    const Point2D world = ToWorld(dx, dy);
    m_editor->GetDrawer()->SetCursorPos(world.x, world.y);
    double x = world.x;
    double y = world.y;
    m_editor->MovePoint(x, y);
    double sx = world.x;
    double sy = world.y;
    m_editor->ApplySnap(sx, sy);
    m_cursor = Point2D(sx, sy);
    return m_cursor;
}

Repaint ViewInput::Motion(double dx, double dy) {
    if (m_panning) {
        m_editor->GetDrawer()->Pan(dx - m_panX, dy - m_panY);
        m_panX = dx;
        m_panY = dy;
        return Repaint::All;
    }
    MoveTo(dx, dy);
    return Repaint::Overlay;
}

Repaint ViewInput::ButtonPress(int button, double dx, double dy, bool ctrl, int clicks) {
    if (button == 2) {
        m_panning = true;
        m_panX = dx;
        m_panY = dy;
        return Repaint::None;
    }
    if (button != 1) {
        return Repaint::None;
    }
    const CtrlScope scope(ctrl);
    Point2D p = MoveTo(dx, dy);
    if (clicks >= 2) {
        m_editor->LButtonDBClk(p.x, p.y);
    } else {
        m_editor->LButtonDown(p.x, p.y);
    }
    return Repaint::Overlay;
}

Repaint ViewInput::ButtonRelease(int button, double dx, double dy, bool ctrl) {
    if (button == 2) {
        m_panning = false;
        return Repaint::None;
    }
    const CtrlScope scope(ctrl);
    Point2D p = MoveTo(dx, dy);
    if (button == 1) {
        m_editor->LButtonUp(p.x, p.y);
    } else if (button == 3) {
        Point2D raw = ToWorld(dx, dy);
        m_editor->RButtonUp(raw.x, raw.y);
    }
    return Repaint::Overlay;
}

Repaint ViewInput::Scroll(double dx, double dy, double steps) {
    if (steps == 0.0 || !std::isfinite(steps)) {
        return Repaint::None;
    }
    m_editor->GetDrawer()->ZoomAt(std::pow(kWheelZoom, steps), ToWorld(dx, dy));
    return Repaint::All;
}

Repaint ViewInput::Key(unsigned int code, bool ctrl) {
    if (code == 0) {
        return Repaint::None;
    }
    const CtrlScope scope(ctrl);
    m_editor->OnKeyDown(code, 1, 0);
    m_editor->OnKeyUp(code, 1, 0);
    return Repaint::Overlay;
}

Repaint ViewInput::Fit() {
    const PatternListPtr& patterns = m_editor->GetPatternList();
    if (!patterns || patterns->empty()) {
        m_editor->GetDrawer()->ZoomToFit(Rect2D(0.0, 100.0, 0.0, 100.0), kFitMarginPixels);
    } else {
        m_editor->GetDrawer()->ZoomToFit(patterns->GetRectBox(), kFitMarginPixels);
    }
    return Repaint::All;
}

Repaint ViewInput::Resize(int width, int height) {
    // The top-left corner keeps its place: a pane opening at the side or the bottom uncovers or hides the
    // far edges and leaves what the user is pointing at where it is.
    const GlViewPortPtr& view = m_editor->GetDrawer();
    const Point2D corner = view->PointDToW(Point2D(0.0, 0.0));
    view->SetDeviceSize(width, height);
    const Point2D moved = view->PointWToD(corner);
    view->Pan(-moved.x, -moved.y);
    return Repaint::All;
}

unsigned int ViewInput::TranslateKey(unsigned int keysym, unsigned int unicode) {
    switch (keysym) {
        case kKeysymBackSpace:
            return KEY_BACKSPACE;
        case kKeysymReturn:
        case kKeysymKpEnter:
            return KEY_ENTER;
        case kKeysymEscape:
            return KEY_ESCAPE;
        case kKeysymDelete:
            return KEY_DELETE;
        default:
            break;
    }
    return (unicode >= 0x20 && unicode < 0x7f) ? unicode : 0;
}

}  // namespace Norvane
