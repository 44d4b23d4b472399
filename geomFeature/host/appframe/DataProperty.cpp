#include "geomFeature/host/appframe/DataProperty.h"

#include <algorithm>

namespace Norvane {

DataPropItem* DataProperty::GetItemByName(int itemID) {
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [itemID](const DataPropItem& item) { return item.GetItemID() == itemID; });
    return it == m_items.end() ? nullptr : &*it;
}

const DataPropItem* DataProperty::GetItemByName(int itemID) const {
    return const_cast<DataProperty*>(this)->GetItemByName(itemID);
}

void DataProperty::GetItemsByType(int groupID, std::vector<DataPropItem>& out) const {
    std::copy_if(m_items.begin(), m_items.end(), std::back_inserter(out),
                 [groupID](const DataPropItem& item) { return item.GetGroupID() == groupID; });
}

}  // namespace Norvane
