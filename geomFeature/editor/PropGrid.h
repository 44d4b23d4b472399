#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataPropItem.h"

namespace Norvane {

// The content of a property grid, as a window system renders it: titled groups of rows. A row shows one
// property item: a read-only text, a numeric entry (its text formatted with the item's display format), or
// a drop-down of the item's options. Each row keeps a copy of its item, so that an edit can be mapped back
// to it. A window system shows the rows, lets the user change a row's text (SetEntryText) and tells the bar
// that owns the grid.
class GF_API PropGrid {
public:
    enum class EntryKind { ReadOnly, Number, Choice };

    struct Entry {
        EntryKind kind = EntryKind::ReadOnly;
        int captionID = 0;                  // string resource of the row's caption (the item identifier)
        std::wstring caption;               // its text
        DataPropItem item;                  // the item shown
        std::wstring format;                // Number: the printf-style format the text was made with
        std::vector<std::wstring> options;  // Choice: what the drop-down offers
        std::wstring shown;                 // the text as the grid filled it
        std::wstring text;                  // the text now (what the user typed or chose)
    };

    struct Group {
        int titleID = 0;
        std::wstring title;
        std::vector<Entry> entries;
    };

    void Clear() { m_groups.clear(); }
    // Adds a group titled by the string resource and answers it (valid until the next group is added).
    Group& AddGroup(int titleID);
    // A row for the item: a drop-down when it offers options, a numeric entry for a number, read-only
    // otherwise (a text value) or when readOnly is set.
    static Entry MakeEntry(const DataPropItem& item, bool readOnly);

    const std::vector<Group>& GetGroups() const { return m_groups; }
    // The row, or nullptr for indices outside the grid.
    const Entry* GetEntry(std::size_t group, std::size_t entry) const;
    // Finds the first row showing that item: its group and row index; 0 when there is none.
    int FindEntry(int itemID, std::size_t& group, std::size_t& entry) const;
    // The user changed a row's text; 0 for indices outside the grid or a read-only row.
    int SetEntryText(std::size_t group, std::size_t entry, const std::wstring& text);

    // The value a row's text stands for: the item with the new value. 0 when the text is no value for the
    // row (not a number, not an integer for an integer item, not one of the options, a read-only row).
    static int ParseEntry(const Entry& entry, DataPropItem& value);
    // The value in the format ("%.4f" for real numbers and "%d" for integers when the item has none, or an
    // unusable one).
    static std::wstring FormatValue(const DataPropItem& item, std::wstring& format);

private:
    std::vector<Group> m_groups;
};

}  // namespace Norvane
