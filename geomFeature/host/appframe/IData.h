#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

namespace Norvane {

// Identifier of a persistent object. Identifiers are unique within a process run and survive save and load;
// 0 means "none" (for example, no parent).
using DataID = std::int64_t;

class DataProperty;
class DataPropItem;

// Every persistent object of a part: an identity, the identity of its owner, a modified flag, the editable
// values shown in the property bar, and a deep copy.
//
// The order of the virtual operations is part of the contract with the host and must not change.
class IData {
public:
    virtual ~IData() = default;

    virtual DataID GetID() const = 0;
    virtual void SetID(DataID id) = 0;
    virtual void SetParentID(DataID id) = 0;
    virtual DataID GetParentID() const = 0;
    virtual int IsModified() const = 0;
    virtual void SetModified(int modified) = 0;
    // 1 when `id` is this object's identifier, 0 otherwise.
    virtual int IDEqual(DataID id) const = 0;
    // The object's editable values, in display order.
    virtual DataProperty GetProperty() const = 0;
    // Applies one edited value (an item previously reported by GetProperty, with a new value).
    virtual void UpdateProperty(DataPropItem& item) = 0;
    // A new object with the same content. Whether the copy keeps the identifier is up to the object.
    virtual boost::shared_ptr<IData> Clone() const = 0;
};

using IDataPtr = boost::shared_ptr<IData>;

}  // namespace Norvane
