#include "geomFeature/host/geomkit/PolyViewDlg.h"

#include <utility>

#include <boost/make_shared.hpp>

namespace Norvane {

namespace {

PolyViewDlg::Presenter& CurrentPresenter() {
    static PolyViewDlg::Presenter presenter;
    return presenter;
}

}  // namespace

void PolyViewDlg::AddLine(const Line2D& line) {
    m_geoms.push_back(boost::make_shared<Line2D>(line));
}

void PolyViewDlg::AddArc(const Arc2D& arc) {
    m_geoms.push_back(boost::make_shared<Arc2D>(arc));
}

void PolyViewDlg::DoModal() const {
    if (const Presenter& presenter = CurrentPresenter()) {
        presenter(m_geoms);
    }
}

void PolyViewDlg::SetPresenter(Presenter presenter) {
    CurrentPresenter() = std::move(presenter);
}

}  // namespace Norvane
