#include "geomFeature/host/appframe/DataPropItem.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <type_traits>

namespace Norvane {

namespace {

int ClampToInt(std::int64_t v) {
    if (v > INT_MAX) {
        return INT_MAX;
    }
    if (v < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}

// Truncation towards zero; a double outside the int range would make the plain cast undefined.
int TruncateToInt(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (v <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}

std::wstring Widen(const char* first, const char* last) {
    return std::wstring(first, last);
}

std::wstring FormatDouble(double v) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return Widen(buffer, result.ptr);
}

template <typename Int>
std::wstring FormatInteger(Int v) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return Widen(buffer, result.ptr);
}

}  // namespace

DataPropItem::DataPropItem() = default;

DataPropItem::DataPropItem(int groupID, int itemID, PropValue value)
    : m_groupID(groupID), m_itemID(itemID), m_value(std::move(value)) {}

DataPropItem::DataPropItem(int groupID, int itemID, PropValue value, int flag)
    : m_groupID(groupID), m_itemID(itemID), m_value(std::move(value)), m_flag(flag) {}

DataPropItem::DataPropItem(int groupID, int itemID, PropValue value, std::wstring format)
    : m_groupID(groupID), m_itemID(itemID), m_value(std::move(value)), m_format(std::move(format)) {}

double DataPropItem::GetDouble() const {
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int> || std::is_same_v<T, std::int64_t> ||
                          std::is_same_v<T, double>) {
                return static_cast<double>(v);
            } else {
                return 0.0;
            }
        },
        m_value);
}

int DataPropItem::GetInt() const {
    return std::visit(
        [](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int>) {
                return v;
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return ClampToInt(v);
            } else if constexpr (std::is_same_v<T, double>) {
                return TruncateToInt(v);
            } else {
                return 0;
            }
        },
        m_value);
}

std::wstring DataPropItem::GetString() const {
    return std::visit(
        [](const auto& v) -> std::wstring {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::wstring>) {
                return v;
            } else if constexpr (std::is_same_v<T, double>) {
                return FormatDouble(v);
            } else if constexpr (std::is_same_v<T, std::monostate>) {
                return std::wstring();
            } else {
                return FormatInteger(v);
            }
        },
        m_value);
}

}  // namespace Norvane
