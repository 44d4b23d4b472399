#pragma once

#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// Changes a viewport's pen for the length of a scope and puts back, on leaving it, exactly the settings it
// changed, with the values they had when the guard was made. Settings the guard did not touch are left as
// they are, so nothing is written to the viewport that was not changed.
class ViewPenGuard {
public:
    explicit ViewPenGuard(GlViewPort& viewPort) : m_viewPort(viewPort), m_saved(viewPort.GetPen()) {}
    ViewPenGuard(const ViewPenGuard&) = delete;
    ViewPenGuard& operator=(const ViewPenGuard&) = delete;
    ~ViewPenGuard() {
        if (m_colorChanged) {
            m_viewPort.SetDrawColor(m_saved.color);
        }
        if (m_widthChanged) {
            m_viewPort.SetLineWidth(m_saved.lineWidth);
        }
        if (m_ropChanged) {
            m_viewPort.SetROP(m_saved.rop);
        }
        if (m_stippleChanged) {
            m_viewPort.SetLineStipple(m_saved.stippleEnabled, m_saved.stippleFactor, m_saved.stipplePattern);
        }
    }

    void SetDrawColor(unsigned long color) {
        m_viewPort.SetDrawColor(color);
        m_colorChanged = true;
    }
    void SetLineWidth(double width) {
        m_viewPort.SetLineWidth(width);
        m_widthChanged = true;
    }
    void SetROP(tagRopMode mode) {
        m_viewPort.SetROP(mode);
        m_ropChanged = true;
    }
    void SetLineStipple(int enabled, int factor, unsigned short pattern) {
        m_viewPort.SetLineStipple(enabled, factor, pattern);
        m_stippleChanged = true;
    }

private:
    GlViewPort& m_viewPort;
    const ViewPen m_saved;
    bool m_colorChanged = false;
    bool m_widthChanged = false;
    bool m_ropChanged = false;
    bool m_stippleChanged = false;
};

}  // namespace Norvane
