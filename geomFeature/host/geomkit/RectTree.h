#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// A spatial index of boxes, each tagged with a caller's number (an index into the caller's own array): which
// boxes meet a query box? An R-tree underneath. Boxes may be removed again, so a caller can keep the index to
// the items still in play.
//
// Queries answer a superset the caller filters with its exact test: every stored box that meets the query box
// is reported (touching counts), and a box with a non-finite coordinate, which has no place in the tree, is
// reported by every query; a query box with a non-finite coordinate reports everything. The order of the
// answer is unspecified.
class RectTree {
public:
    using Entry = std::pair<Rect2D, std::size_t>;

    RectTree();
    // Bulk load: much faster than inserting the boxes one by one, and a better tree.
    explicit RectTree(const std::vector<Entry>& entries);
    ~RectTree();
    RectTree(RectTree&&) noexcept;
    RectTree& operator=(RectTree&&) noexcept;
    RectTree(const RectTree&) = delete;
    RectTree& operator=(const RectTree&) = delete;

    void Insert(const Rect2D& rect, std::size_t tag);
    // Removes one entry equal to (rect, tag) (the box compared exactly); answers false when there is none.
    bool Remove(const Rect2D& rect, std::size_t tag);
    std::size_t size() const;
    bool empty() const { return size() == 0; }

    // Appends to out the tag of every entry whose box meets `box` (closed: shared edges and corners count).
    void QueryIntersects(const Rect2D& box, std::vector<std::size_t>& out) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace Norvane
