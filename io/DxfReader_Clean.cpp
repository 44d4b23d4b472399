// The clean copy of a DXF text that the reader hands to dxflib: trimmed lines, over-long values cut
// (dxflib reads lines into a fixed buffer and would lose the pairing), damaged records dropped, element
// counts made to agree with the elements, and a truncated file closed after its last complete record. The
// copy keeps where each record came from, so that messages can name lines of the file.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "io/detail/DxfModel.h"

namespace Norvane::dxf_detail {

namespace {

using Record = std::vector<std::pair<int, std::string>>;

// Makes the element counts of a record agree with the elements it holds. dxflib sizes its arrays from
// these counts: a count that is too small loses vertices, a missing one loses them all, and an absurd one
// makes it allocate gigabytes. Answers the number of count pairs added (right after the group 0).
int FixCounts(Record& record) {
    if (record.empty()) {
        return 0;
    }
    auto count = [&record](int code) {
        return std::to_string(
            std::count_if(record.begin(), record.end(), [code](const auto& p) { return p.first == code; }));
    };
    // (count code, element code) pairs per entity type.
    std::vector<std::pair<int, int>> fixes;
    const std::string& type = record.front().second;
    if (type == "LWPOLYLINE") {
        fixes = {{90, 10}};
    } else if (type == "SPLINE") {
        fixes = {{72, 40}, {73, 10}, {74, 11}};
    } else if (type == "LEADER") {
        fixes = {{76, 10}};
    }
    int added = 0;
    for (const auto& [countCode, elementCode] : fixes) {
        const std::string n = count(elementCode);
        bool found = false;
        for (auto& [code, value] : record) {
            if (code == countCode) {
                value = n;
                found = true;
            }
        }
        if (!found) {
            record.insert(record.begin() + 1, {countCode, n});
            ++added;
        }
    }
    return added;
}

// Records that are complete as soon as their group 0 is read: a file cut right after one lost nothing of it.
bool IsOnePairRecord(const std::string& type) {
    return type == "ENDSEC" || type == "ENDBLK" || type == "ENDTAB" || type == "SEQEND" || type == "EOF";
}

}  // namespace

std::string CleanPairs(const std::string& text, Drawing& drawing, std::vector<RecordOrigin>& origins) {
    constexpr std::size_t kMaxValueLength = 1000;
    constexpr long kMaxGroupCode = 1071;
    // The lines, trimmed, as views into the text (getline's rule: a last line without its newline
    // counts, an empty text has none).
    std::vector<std::string_view> lines;
    {
        const std::string_view all(text);
        std::size_t start = 0;
        while (start < all.size()) {
            std::size_t end = all.find('\n', start);
            if (end == std::string_view::npos) {
                end = all.size();
            }
            std::string_view line = all.substr(start, end - start);
            // dxflib reads each line as a C string: whatever follows a NUL byte is not there for it, so it
            // is not there for the copy either (a record "SPLINE\0..." is a SPLINE whose counts need fixing).
            line = line.substr(0, line.find('\0'));
            const auto first = line.find_first_not_of(" \t\r");
            line = first == std::string_view::npos
                       ? std::string_view()
                       : line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
            lines.push_back(line);
            start = end + 1;
        }
    }
    drawing.lineCount = static_cast<long>(lines.size());

    std::string clean;
    clean.reserve(text.size());
    origins.clear();
    Record record;  // pairs of the record being copied, so that its counts can be fixed first
    long recordLine = 0;
    std::string section;  // the section the copy is in
    // A POLYLINE is a run of records (POLYLINE, VERTEX..., SEQEND); a file cut inside the run loses the
    // whole polyline, so where the open run starts is kept.
    std::size_t polylineClean = std::string::npos;
    std::size_t polylineOrigins = 0;
    long polylineLine = 0;
    auto flush = [&]() {
        if (record.empty()) {
            return;
        }
        const int added = FixCounts(record);
        if (record.front().first == 0) {
            const std::string& type = record.front().second;
            if (type == "POLYLINE") {
                polylineClean = clean.size();
                polylineOrigins = origins.size();
                polylineLine = recordLine;
            } else if (type != "VERTEX") {
                polylineClean = std::string::npos;
            }
            if (type == "SECTION") {
                const auto name = std::find_if(record.begin(), record.end(),
                                               [](const auto& pair) { return pair.first == 2; });
                section = name == record.end() ? std::string("?") : UpperCase(name->second);
                drawing.lastSection = section;
            } else if (type == "ENDSEC") {
                section.clear();
            }
            origins.push_back(RecordOrigin{recordLine, added});
        }
        for (const auto& [code, value] : record) {
            clean += std::to_string(code) + '\n' + value + '\n';
        }
        record.clear();
    };
    // After damage, pairing resumes at the next line "0" followed by a record name.
    auto isRecordName = [](std::string_view s) {
        return !s.empty() && std::isupper(static_cast<unsigned char>(s[0])) &&
               std::all_of(s.begin(), s.end(),
                           [](unsigned char c) { return std::isupper(c) || std::isdigit(c) || c == '_'; });
    };
    std::size_t i = 0;
    while (i < lines.size()) {
        if (lines[i].empty() && i + 1 == lines.size()) {
            break;  // a trailing empty line
        }
        if (i + 1 >= lines.size()) {
            break;  // a group code without its value: the file is cut
        }
        long number = 0;
        const std::string_view code = lines[i];
        const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), number);
        if (code.empty() || error != std::errc() || end != code.data() + code.size() || number < 0 ||
            number > kMaxGroupCode) {
            if (drawing.damagedAtLine == 0) {
                drawing.damagedAtLine = static_cast<long>(i) + 1;
                drawing.damagedText = std::string(code.substr(0, kMaxQuotedLength));
            }
            ++drawing.damagedPlaces;
            // The record the damage lies in is dropped, except a section's head (its name and header
            // variables) which stays usable up to the damage.
            if (!record.empty() && record.front().second != "SECTION") {
                record.clear();
            }
            for (++i; i + 1 < lines.size() && !(lines[i] == "0" && isRecordName(lines[i + 1])); ++i) {
            }
            continue;
        }
        const std::string value(lines[i + 1].substr(0, kMaxValueLength));
        if (number == 0) {
            flush();
            recordLine = static_cast<long>(i) + 1;
        }
        i += 2;
        record.emplace_back(static_cast<int>(number), value);
        if (number == 0 && value == "EOF") {
            drawing.sawEof = true;
            break;
        }
    }
    if (!drawing.sawEof) {
        // The file is cut. The record it ends in may have lost values that dxflib would fill with
        // defaults (a circle of radius 1), so it is left out, and with it a polyline still collecting its
        // vertices; a salvaging read keeps everything before.
        const bool oneStep =
            !record.empty() && record.front().first == 0 && IsOnePairRecord(record.front().second);
        if (!record.empty() && record.front().first == 0 && (oneStep || record.front().second == "SECTION")) {
            flush();  // complete, or a section head whose name is all it needs
        } else if (!record.empty() && record.front().first == 0) {
            drawing.cutRecord = record.front().second;
            drawing.cutRecordLine = recordLine;
            record.clear();
        }
        drawing.endSection = section;
        if (polylineClean != std::string::npos && drawing.cutRecord != "SEQEND") {
            drawing.cutRecord = "POLYLINE";
            drawing.cutRecordLine = polylineLine;
            clean.resize(polylineClean);
            origins.resize(polylineOrigins);
        }
        record.clear();
        // dxflib hands over an entity only when the next group 0 arrives.
        clean += "0\nEOF\n";
        origins.push_back(RecordOrigin{drawing.lineCount, 0});
    } else {
        flush();
    }
    return clean;
}

}  // namespace Norvane::dxf_detail
