#include "geomFeature/processor/LoopTopItemList.h"

namespace Norvane {

int LoopTopItemList::TopItemExist(const LoopTopItemPtr& item) const {
    if (!item) return 0;
    for (const LoopTopItemPtr& mine : *this) {
        if (mine && mine->GetID() == item->GetID()) return 1;
    }
    return 0;
}

void LoopTopItemList::RemoveTopItem(const LoopTopItemPtr& item) {
    if (!item) return;
    for (auto it = begin(); it != end(); ++it) {
        if (*it && (*it)->GetID() == item->GetID()) {
            erase(it);
            return;
        }
    }
}

}  // namespace Norvane
