#include "geomFeature/processor/LoopTopItem.h"

#include <boost/make_shared.hpp>

#include "geomFeature/processor/LoopTopItemList.h"

namespace Norvane {

LoopTopItem::LoopTopItem(const IPatLoopPtr& loop)
    : m_loop(loop), m_subItems(boost::make_shared<LoopTopItemList>()) {}

LoopTopItem::~LoopTopItem() = default;

IDataPtr LoopTopItem::Clone() const {
    auto copy = boost::make_shared<LoopTopItem>(m_loop);
    copy->m_subItems = m_subItems;
    return copy;
}

}  // namespace Norvane
