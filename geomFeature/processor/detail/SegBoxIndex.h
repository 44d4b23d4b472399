#pragma once

#include <vector>

#include "geomFeature/processor/detail/OffsetCurve.h"

namespace Norvane {
namespace detail {

// A static bounding-volume tree over element boxes: built once, then asked for the boxes that overlap a
// query box. Small sets are one leaf, so a handful of elements costs no more than a plain loop.
class SegBoxIndex {
public:
    explicit SegBoxIndex(std::vector<SegBox> boxes);

    // Calls visit(index) for every box overlapping query, in no particular order, until visit answers
    // false. Answers false when it was stopped that way.
    template <class Visit>
    bool Query(const SegBox& query, Visit&& visit) const {
        if (m_nodes.empty())
            return true;
        int stack[64];
        int top = 0;
        stack[top++] = 0;
        while (top > 0) {
            const Node& node = m_nodes[stack[--top]];
            if (!node.box.Overlaps(query))
                continue;
            if (node.left < 0) {
                for (int k = node.first; k < node.first + node.count; ++k) {
                    const int item = m_items[k];
                    if (m_boxes[item].Overlaps(query) && !visit(item))
                        return false;
                }
                continue;
            }
            stack[top++] = node.left;
            stack[top++] = node.right;
        }
        return true;
    }

    const SegBox& Box(int index) const { return m_boxes[index]; }

private:
    struct Node {
        SegBox box;
        int first;  // leaf: its items are m_items[first, first + count)
        int count;
        int left;  // -1 for a leaf
        int right;
    };
    int Build(int first, int count);

    std::vector<SegBox> m_boxes;
    std::vector<int> m_items;
    std::vector<Node> m_nodes;
};

}  // namespace detail
}  // namespace Norvane
