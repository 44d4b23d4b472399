#include "geomFeature/host/geomkit/RectTree.h"

#include <algorithm>
#include <cmath>

// See PolygonAlgo.cpp: Boost 1.74's geometry headers need these to compile cleanly at -O2.
#define BOOST_ALLOW_DEPRECATED_HEADERS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#pragma GCC diagnostic pop

namespace Norvane {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using BPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BBox = bg::model::box<BPoint>;
using Value = std::pair<BBox, std::size_t>;
// A node holds up to 16 entries; quadratic splits keep inserts cheap.
using Tree = bgi::rtree<Value, bgi::quadratic<16>>;

bool Finite(const Rect2D& r) {
    return std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.bottom) && std::isfinite(r.top);
}

// The kernel's boxes may come with left > right from a careless caller; the tree needs ordered corners.
BBox ToBox(const Rect2D& r) {
    return BBox(BPoint(std::min(r.left, r.right), std::min(r.bottom, r.top)),
                BPoint(std::max(r.left, r.right), std::max(r.bottom, r.top)));
}

}  // namespace

struct RectTree::Impl {
    Tree tree;
    std::vector<std::pair<Rect2D, std::size_t>> wild;  // non-finite boxes, reported by every query
};

RectTree::RectTree() : m_impl(std::make_unique<Impl>()) {}

RectTree::RectTree(const std::vector<Entry>& entries) : m_impl(std::make_unique<Impl>()) {
    std::vector<Value> values;
    values.reserve(entries.size());
    for (const Entry& e : entries) {
        if (Finite(e.first)) {
            values.emplace_back(ToBox(e.first), e.second);
        } else {
            m_impl->wild.push_back(e);
        }
    }
    m_impl->tree = Tree(values.begin(), values.end());  // packed (sort-tile-recursive) bulk load
}

RectTree::~RectTree() = default;
RectTree::RectTree(RectTree&&) noexcept = default;
RectTree& RectTree::operator=(RectTree&&) noexcept = default;

void RectTree::Insert(const Rect2D& rect, std::size_t tag) {
    if (Finite(rect)) {
        m_impl->tree.insert(Value(ToBox(rect), tag));
    } else {
        m_impl->wild.emplace_back(rect, tag);
    }
}

bool RectTree::Remove(const Rect2D& rect, std::size_t tag) {
    if (Finite(rect)) {
        return m_impl->tree.remove(Value(ToBox(rect), tag)) != 0;
    }
    auto& wild = m_impl->wild;
    for (auto it = wild.begin(); it != wild.end(); ++it) {
        if (it->second == tag) {
            wild.erase(it);
            return true;
        }
    }
    return false;
}

std::size_t RectTree::size() const {
    return m_impl->tree.size() + m_impl->wild.size();
}

void RectTree::QueryIntersects(const Rect2D& box, std::vector<std::size_t>& out) const {
    for (const auto& w : m_impl->wild) {
        out.push_back(w.second);
    }
    if (!Finite(box)) {
        for (const Value& v : m_impl->tree) {
            out.push_back(v.second);
        }
        return;
    }
    for (auto it = m_impl->tree.qbegin(bgi::intersects(ToBox(box))); it != m_impl->tree.qend(); ++it) {
        out.push_back(it->second);
    }
}

}  // namespace Norvane
