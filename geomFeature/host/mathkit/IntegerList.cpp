#include "geomFeature/host/mathkit/IntegerList.h"

#include <algorithm>

namespace Norvane {

int IntegerList::Include(std::int64_t v) const {
    return std::find(m_values.begin(), m_values.end(), v) != m_values.end() ? 1 : 0;
}

int IntegerList::RemoveInt(std::int64_t v) {
    const auto it = std::find(m_values.begin(), m_values.end(), v);
    if (it == m_values.end()) {
        return 0;
    }
    m_values.erase(it);
    return 1;
}

}  // namespace Norvane
