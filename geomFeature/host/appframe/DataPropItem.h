#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace Norvane {

// The value of one editable property: nothing, an integer, a 64-bit integer, a real number or a text.
using PropValue = std::variant<std::monostate, int, std::int64_t, double, std::wstring>;

// One editable value of a data object, as the property bar shows it: the group it is listed under and the
// item it is (both string resource numbers, which double as their captions), the value, and optionally an
// integer flag, a display format for the grid (a printf-style pattern such as L"%.4f") and a list of choices
// for a drop-down.
class DataPropItem {
public:
    DataPropItem();
    DataPropItem(int groupID, int itemID, PropValue value);
    DataPropItem(int groupID, int itemID, PropValue value, int flag);
    DataPropItem(int groupID, int itemID, PropValue value, std::wstring format);

    int GetGroupID() const { return m_groupID; }
    int GetItemID() const { return m_itemID; }
    int GetFlag() const { return m_flag; }
    void SetFlag(int flag) { m_flag = flag; }
    const std::wstring& GetFormat() const { return m_format; }

    const PropValue& GetValue() const { return m_value; }
    void SetValue(PropValue v) { m_value = std::move(v); }

    // The value as a real number: integers converted exactly (64-bit ones rounded to the nearest double),
    // 0.0 for no value and for text.
    double GetDouble() const;
    // The value as an int: integers as they are (64-bit ones clamped to the int range), real numbers
    // truncated towards zero and clamped to the int range (NaN gives 0), 0 for no value and for text.
    int GetInt() const;
    // The value as text: the text itself, integers in decimal, real numbers in their shortest form that
    // reads back to the same double ("12.5", "0.1", "1e-09"), "" for no value.
    std::wstring GetString() const;

    // Choices offered in a drop-down; empty when the item is edited as a free value.
    const std::vector<std::wstring>& GetOptions() const { return m_options; }
    void SetOptions(std::vector<std::wstring> options) { m_options = std::move(options); }

private:
    int m_groupID = 0;
    int m_itemID = 0;
    PropValue m_value;
    int m_flag = 0;
    std::wstring m_format;
    std::vector<std::wstring> m_options;
};

}  // namespace Norvane
