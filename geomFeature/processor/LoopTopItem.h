#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

class LoopTopItemList;
using LoopTopItemListPtr = boost::shared_ptr<LoopTopItemList>;

// One node of a part's nesting tree: a loop and the loops lying directly inside it. Items are told apart by
// their own identifier, never by their loop's. Copies share the sub-list.
class GF_API LoopTopItem : public DataBase {
public:
    explicit LoopTopItem(const IPatLoopPtr& loop);
    LoopTopItem(const LoopTopItem& other) = default;
    LoopTopItem& operator=(const LoopTopItem& other) = default;
    ~LoopTopItem() override;

    const IPatLoopPtr& GetPatLoop() const { return m_loop; }
    void SetPatLoop(const IPatLoopPtr& loop) { m_loop = loop; }
    // Never empty after construction.
    const LoopTopItemListPtr& GetSubItemList() const { return m_subItems; }
    void SetSubItemList(const LoopTopItemListPtr& items) { m_subItems = items; }

    // A new item on the same loop sharing the sub-list (the tree is a view of the loops, not their owner).
    IDataPtr Clone() const override;

private:
    IPatLoopPtr m_loop;
    LoopTopItemListPtr m_subItems;
};

using LoopTopItemPtr = boost::shared_ptr<LoopTopItem>;

}  // namespace Norvane
