#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/appframe/DataPropItem.h"

namespace Norvane {

// The editable values of one data object, in display order. Items are looked up by their item identifier
// (the first match wins when an identifier occurs twice) and selected by group.
class DataProperty {
public:
    void AddProperty(const DataPropItem& item) { m_items.push_back(item); }

    // The first item with this item identifier, or nullptr.
    DataPropItem* GetItemByName(int itemID);
    const DataPropItem* GetItemByName(int itemID) const;

    // Appends to `out`, in order, every item of the group; `out` keeps what it held before.
    void GetItemsByType(int groupID, std::vector<DataPropItem>& out) const;

    const std::vector<DataPropItem>& GetItems() const { return m_items; }
    std::size_t size() const { return m_items.size(); }

private:
    std::vector<DataPropItem> m_items;
};

}  // namespace Norvane
