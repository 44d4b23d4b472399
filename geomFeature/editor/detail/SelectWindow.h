#pragma once

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {
namespace detail {

// The window a selection drags: the corner where the button went down and the corner under the cursor.
class SelectWindow {
public:
    void Start(const Point2D& point) { m_down = m_corner = point; }
    void Follow(const Point2D& point) { m_corner = point; }
    const Point2D& GetCorner() const { return m_corner; }
    // A window when the corners differ by more than kSelectWindowMinSize in x or in y (strict); otherwise
    // the drag was a click at the corner.
    bool IsWindow() const;
    // The box between the corners, normalised.
    Rect2D GetRect() const;
    // The window dashed (factor 2, pattern 0xCCCC); the stipple is put back.
    void Draw(GlViewPort& view) const;

private:
    Point2D m_down;
    Point2D m_corner;
};

}  // namespace detail
}  // namespace Norvane
