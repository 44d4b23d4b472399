#pragma once

#include <functional>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"

namespace Norvane {

// The kernel's diagnostic viewer: a developer collects lines and arcs into it and shows them. This host
// has no window system, so showing hands the collected elements to the installed presenter (a test, or a
// host that can draw); without a presenter nothing is shown. Never part of the user's workflow.
class PolyViewDlg {
public:
    using Presenter = std::function<void(const Geom2DList&)>;

    // Copies of the element are kept.
    void AddLine(const Line2D& line);
    void AddArc(const Arc2D& arc);
    const Geom2DList& GetGeoms() const { return m_geoms; }

    // Shows the collected elements and returns when the viewer is closed (at once in this host).
    void DoModal() const;

    // Replaces the presenter; an empty one restores "show nothing". Not thread-safe: diagnostics run on
    // the user-interface thread.
    static void SetPresenter(Presenter presenter);

private:
    Geom2DList m_geoms;
};

}  // namespace Norvane
