#include "geomFeature/editor/detail/SelectWindow.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"

namespace Norvane {
namespace detail {

bool SelectWindow::IsWindow() const {
    return std::fabs(m_corner.x - m_down.x) > kSelectWindowMinSize ||
           std::fabs(m_corner.y - m_down.y) > kSelectWindowMinSize;
}

Rect2D SelectWindow::GetRect() const {
    return Rect2D(std::min(m_down.x, m_corner.x), std::max(m_down.x, m_corner.x),
                  std::min(m_down.y, m_corner.y), std::max(m_down.y, m_corner.y));
}

void SelectWindow::Draw(GlViewPort& view) const {
    ViewPenGuard pen(view);
    pen.SetLineStipple(1, kSelectWindowStippleFactor, kSelectWindowStipplePattern);
    view.DrawRect(m_down.x, m_down.y, m_corner.x, m_corner.y);
}

}  // namespace detail
}  // namespace Norvane
