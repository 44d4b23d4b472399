#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/processor/LoopTopItem.h"

namespace Norvane {

// One level of the nesting tree, in the order the loops were met.
class GF_API LoopTopItemList : public std::vector<LoopTopItemPtr> {
public:
    // 1 when an item of this level (not the sub-levels) has the given item's identifier.
    int TopItemExist(const LoopTopItemPtr& item) const;
    // Removes from this level the first item with the given item's identifier; the order is kept.
    void RemoveTopItem(const LoopTopItemPtr& item);
};

}  // namespace Norvane
