#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <boost/shared_ptr.hpp>

namespace Norvane {

// An ordered list of 64-bit identifiers (duplicates allowed, insertion order kept).
class IntegerList {
public:
    using const_iterator = std::vector<std::int64_t>::const_iterator;

    void AddInt(std::int64_t v) { m_values.push_back(v); }
    // 1 when v occurs in the list.
    int Include(std::int64_t v) const;
    std::int64_t at(std::size_t i) const { return m_values.at(i); }
    std::size_t size() const { return m_values.size(); }
    bool empty() const { return m_values.empty(); }
    void clear() { m_values.clear(); }
    // Removes the first occurrence of v; answers 1 when one was removed.
    int RemoveInt(std::int64_t v);
    const_iterator begin() const { return m_values.begin(); }
    const_iterator end() const { return m_values.end(); }

private:
    std::vector<std::int64_t> m_values;
};

using IntegerListPtr = boost::shared_ptr<IntegerList>;

}  // namespace Norvane
