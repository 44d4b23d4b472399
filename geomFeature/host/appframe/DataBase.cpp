#include "geomFeature/host/appframe/DataBase.h"

#include <atomic>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"

namespace Norvane {

namespace {

// The next identifier to hand out. 0 is reserved for "none", so the first object gets 1.
std::atomic<DataID> g_nextID{1};

}  // namespace

DataBase::DataBase() : m_id(NewID()) {}

DataBase::DataBase(DataID id) : m_id(id) {
    ReserveID(id);
}

void DataBase::SetID(DataID id) {
    m_id = id;
    ReserveID(id);
}

DataProperty DataBase::GetProperty() const {
    return DataProperty();
}

void DataBase::UpdateProperty(DataPropItem& /*item*/) {}

DataID DataBase::NewID() {
    return g_nextID.fetch_add(1, std::memory_order_relaxed);
}

void DataBase::ReserveID(DataID id) {
    // Raise the counter to id + 1 unless another thread already went further. The loop retries only when
    // a concurrent NewID or ReserveID changed the counter between the load and the exchange.
    if (id == INT64_MAX) {
        return;  // nothing can be reserved past the largest identifier; NewID keeps counting below it
    }
    DataID wanted = id + 1;
    DataID current = g_nextID.load(std::memory_order_relaxed);
    while (current < wanted && !g_nextID.compare_exchange_weak(current, wanted, std::memory_order_relaxed)) {
    }
}

}  // namespace Norvane
