#include "geomFeature/editor/PropGrid.h"

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <type_traits>
#include <variant>

#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/uikit/CNumEdit.h"

namespace Norvane {

namespace {

// An item's own format is used only when it is one conversion of the right kind, with nothing that could
// read a missing argument: "%[-+ 0#]*[0-9]*(.[0-9]+)?" and then one of "feEgG" (real numbers) or "d"
// (integers), with text around it but no other '%'.
bool UsableFormat(const std::wstring& format, bool real) {
    const std::size_t at = format.find(L'%');
    if (at == std::wstring::npos || format.find(L'%', at + 1) != std::wstring::npos) {
        return false;
    }
    std::size_t i = at + 1;
    while (i < format.size() && std::wcschr(L"-+ 0#", format[i]) != nullptr) ++i;
    while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') ++i;
    if (i < format.size() && format[i] == L'.') {
        ++i;
        while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') ++i;
    }
    if (i >= format.size() || i - at > 8) {
        return false;
    }
    return real ? std::wcschr(L"feEgG", format[i]) != nullptr : format[i] == L'd';
}

}  // namespace

PropGrid::Group& PropGrid::AddGroup(int titleID) {
    Group group;
    group.titleID = titleID;
    group.title = ResourceString::Load(titleID);
    m_groups.push_back(group);
    return m_groups.back();
}

PropGrid::Entry PropGrid::MakeEntry(const DataPropItem& item, bool readOnly) {
    Entry entry;
    entry.item = item;
    entry.captionID = item.GetItemID();
    entry.caption = ResourceString::Load(item.GetItemID());
    const PropValue& value = item.GetValue();
    if (!item.GetOptions().empty()) {
        entry.kind = EntryKind::Choice;
        entry.options = item.GetOptions();
        const int index = item.GetInt();
        entry.shown = std::holds_alternative<std::wstring>(value) ? item.GetString()
                      : (index >= 0 && static_cast<std::size_t>(index) < entry.options.size())
                          ? entry.options[static_cast<std::size_t>(index)]
                          : std::wstring();
    } else if (std::holds_alternative<double>(value) || std::holds_alternative<int>(value) ||
               std::holds_alternative<std::int64_t>(value)) {
        entry.kind = EntryKind::Number;
        entry.shown = FormatValue(item, entry.format);
    } else {
        entry.shown = item.GetString();
    }
    if (readOnly) {
        entry.kind = EntryKind::ReadOnly;
    }
    entry.text = entry.shown;
    return entry;
}

std::wstring PropGrid::FormatValue(const DataPropItem& item, std::wstring& format) {
    const bool real = std::holds_alternative<double>(item.GetValue());
    format = UsableFormat(item.GetFormat(), real) ? item.GetFormat() : std::wstring(real ? L"%.4f" : L"%d");
    wchar_t buffer[128];
    const int written = real ? std::swprintf(buffer, 128, format.c_str(), item.GetDouble())
                             : std::swprintf(buffer, 128, format.c_str(), item.GetInt());
    return written < 0 ? item.GetString() : std::wstring(buffer);
}

const PropGrid::Entry* PropGrid::GetEntry(std::size_t group, std::size_t entry) const {
    if (group >= m_groups.size() || entry >= m_groups[group].entries.size()) {
        return nullptr;
    }
    return &m_groups[group].entries[entry];
}

int PropGrid::FindEntry(int itemID, std::size_t& group, std::size_t& entry) const {
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        for (std::size_t e = 0; e < m_groups[g].entries.size(); ++e) {
            if (m_groups[g].entries[e].item.GetItemID() == itemID) {
                group = g;
                entry = e;
                return 1;
            }
        }
    }
    return 0;
}

int PropGrid::SetEntryText(std::size_t group, std::size_t entry, const std::wstring& text) {
    if (group >= m_groups.size() || entry >= m_groups[group].entries.size() ||
        m_groups[group].entries[entry].kind == EntryKind::ReadOnly) {
        return 0;
    }
    m_groups[group].entries[entry].text = text;
    return 1;
}

int PropGrid::ParseEntry(const Entry& entry, DataPropItem& value) {
    value = entry.item;
    const PropValue& old = entry.item.GetValue();
    if (entry.kind == EntryKind::Choice) {
        for (std::size_t i = 0; i < entry.options.size(); ++i) {
            if (entry.options[i] == entry.text) {
                if (std::holds_alternative<std::wstring>(old)) {
                    value.SetValue(entry.text);
                } else {
                    value.SetValue(static_cast<int>(i));
                }
                return 1;
            }
        }
        return 0;
    }
    // Read as the grid's numeric edit reads it: a decimal number and nothing else (no exponent, no inf).
    CNumEdit edit;
    edit.Init(0.0, 0, 1);
    if (entry.kind != EntryKind::Number || edit.SetText(entry.text) == 0) {
        return 0;
    }
    const double number = edit.Get_Number();
    if (std::holds_alternative<double>(old)) {
        value.SetValue(number);
        return 1;
    }
    // Integer items take whole numbers in their range only.
    if (number != std::floor(number)) {  // exact: 2.5 is no count
        return 0;
    }
    if (std::holds_alternative<int>(old)) {
        if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
            return 0;
        }
        value.SetValue(static_cast<int>(number));
        return 1;
    }
    if (std::fabs(number) > 9.0e15) {  // beyond what a double holds exactly
        return 0;
    }
    value.SetValue(static_cast<std::int64_t>(number));
    return 1;
}

}  // namespace Norvane
