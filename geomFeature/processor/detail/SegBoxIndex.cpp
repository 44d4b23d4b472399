#include "geomFeature/processor/detail/SegBoxIndex.h"

#include <algorithm>
#include <numeric>

namespace Norvane {
namespace detail {

namespace {

// Items per leaf: below this a linear scan beats descending further.
constexpr int kLeafSize = 8;

}  // namespace

SegBoxIndex::SegBoxIndex(std::vector<SegBox> boxes) : m_boxes(std::move(boxes)) {
    m_items.resize(m_boxes.size());
    std::iota(m_items.begin(), m_items.end(), 0);
    if (!m_boxes.empty()) {
        m_nodes.reserve(2 * m_boxes.size() / kLeafSize + 2);
        Build(0, static_cast<int>(m_boxes.size()));
    }
}

// Splits at the median of the box centres along the longer side of the node's box. Halving keeps the
// depth at log2(n / kLeafSize) + 1, far inside the query stack.
int SegBoxIndex::Build(int first, int count) {
    SegBox box = m_boxes[m_items[first]];
    for (int k = first + 1; k < first + count; ++k) {
        const SegBox& b = m_boxes[m_items[k]];
        box.minX = std::min(box.minX, b.minX);
        box.minY = std::min(box.minY, b.minY);
        box.maxX = std::max(box.maxX, b.maxX);
        box.maxY = std::max(box.maxY, b.maxY);
    }
    const int index = static_cast<int>(m_nodes.size());
    m_nodes.push_back(Node{box, first, count, -1, -1});
    if (count <= kLeafSize)
        return index;
    const bool alongX = box.maxX - box.minX >= box.maxY - box.minY;
    const int half = count / 2;
    std::nth_element(m_items.begin() + first, m_items.begin() + first + half, m_items.begin() + first + count,
                     [&](int i, int j) {
                         const SegBox& a = m_boxes[i];
                         const SegBox& b = m_boxes[j];
                         return alongX ? a.minX + a.maxX < b.minX + b.maxX
                                       : a.minY + a.maxY < b.minY + b.maxY;
                     });
    const int left = Build(first, half);
    const int right = Build(first + half, count - half);
    m_nodes[index].left = left;
    m_nodes[index].right = right;
    return index;
}

}  // namespace detail
}  // namespace Norvane
