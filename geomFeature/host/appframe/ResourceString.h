#pragma once

#include <string>
#include <vector>

namespace Norvane {

// The application's user-visible texts (prompts, messages, command names, pattern type names, property
// captions), looked up by resource number. The table is English.
class ResourceString {
public:
    // The text of `id`; "" for an unknown number.
    static std::wstring Load(int id);
    // True when the table has a text for `id`.
    static bool Exists(int id);
    // The text of `id` with its first "%d" replaced by `value` in decimal (progress texts that count
    // things). A text without "%d" is returned as it is; an unknown number gives "".
    static std::wstring Format(int id, long long value);
    // Every number in the table, ascending.
    static std::vector<int> GetAllIDs();
};

}  // namespace Norvane
