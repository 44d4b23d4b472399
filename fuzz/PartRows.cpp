#include "fuzz/PartRows.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/DBException.h"
#include "geomFeature/host/datakit/DBField.h"
#include "geomFeature/host/datakit/PartSchema.h"

namespace Norvane::PartRows {

namespace {

constexpr std::size_t kMaxValues = 16;
constexpr std::size_t kMaxText = 64;

const char* TableOf(char letter) {
    switch (letter) {
        case 'p':
            return PartSchema::kPatternTable;
        case 'r':
            return PartSchema::kRelationTable;
        case 'l':
            return PartSchema::kLoopTable;
        case 'n':
            return PartSchema::kLoopNodeTable;
        default:
            return nullptr;
    }
}

// One value as an SQL literal.
std::string Literal(const std::string& token) {
    if (token == "null") {
        return "NULL";
    }
    char* end = nullptr;
    const long long whole = std::strtoll(token.c_str(), &end, 10);
    if (!token.empty() && *end == '\0') {
        return std::to_string(whole);
    }
    const double real = std::strtod(token.c_str(), &end);
    if (!token.empty() && *end == '\0') {
        if (std::isnan(real)) {
            return "NULL";  // SQLite stores a NaN as NULL anyway
        }
        if (std::isinf(real)) {
            return real > 0 ? "9e999" : "-9e999";
        }
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", real);
        std::string s = text;
        // Keep it a real in SQLite's eyes.
        return s.find_first_of(".en") == std::string::npos ? s + ".0" : s;
    }
    std::string quoted = "'";
    for (const char c : token.substr(0, kMaxText)) {
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return quoted + "'";
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> tokens;
    std::string token;
    for (const char c : line) {
        if (c == ' ' || c == ',' || c == '\t' || c == '\r') {
            if (!token.empty()) {
                tokens.push_back(token);
            }
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty()) {
        tokens.push_back(token);
    }
    return tokens;
}

std::string Columns(int count) {
    std::string columns;
    for (int i = 0; i < count; ++i) {
        columns += (i ? ", c" : "c") + std::to_string(i);
    }
    return columns;
}

}  // namespace

boost::shared_ptr<DBConnect> Load(const std::string& text) {
    const auto db = boost::make_shared<DBConnect>(":memory:");
    std::istringstream in(text);
    std::string line;
    int rows = 0;
    bool first = true;
    while (std::getline(in, line) && rows < kMaxRows) {
        const std::vector<std::string> tokens = Split(line);
        if (tokens.empty()) {
            continue;
        }
        if (first && tokens[0] == "s" && tokens.size() == 5) {
            // Tables of the widths given (0: no such table), before any row.
            const char letters[] = {'p', 'r', 'l', 'n'};
            for (int t = 0; t < 4; ++t) {
                const int width = std::atoi(tokens[static_cast<std::size_t>(t) + 1].c_str());
                if (width > 0 && width <= static_cast<int>(kMaxValues)) {
                    db->Execute(
                        std::string("create table ") + TableOf(letters[t]) + " (" + Columns(width) + ");", 0);
                }
            }
            first = false;
            continue;
        }
        if (first) {
            PartSchema::CreateMissingTables(*db);
            first = false;
        }
        const char* table = tokens[0].size() == 1 ? TableOf(tokens[0][0]) : nullptr;
        if (!table || tokens.size() < 2 || tokens.size() > kMaxValues + 1) {
            continue;
        }
        std::string sql = std::string("insert into ") + table + " values (";
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            sql += (i > 1 ? ", " : "") + Literal(tokens[i]);
        }
        try {
            db->Execute(sql + ");", 0);
            ++rows;
        } catch (const DBException&) {
            // a row that does not fit its table
        }
    }
    if (first) {
        PartSchema::CreateMissingTables(*db);
    }
    return db;
}

std::string Dump(DBConnect& db) {
    std::string out;
    const std::pair<char, const char*> tables[] = {{'p', PartSchema::kPatternTable},
                                                   {'r', PartSchema::kRelationTable},
                                                   {'l', PartSchema::kLoopTable},
                                                   {'n', PartSchema::kLoopNodeTable}};
    for (const auto& [letter, table] : tables) {
        const DBResultPtr result = db.ExecuteQuery(std::string("select * from ") + table + ";");
        for (DBRecordPtr record = db.GetNextRecord(result); record; record = db.GetNextRecord(result)) {
            out += letter;
            for (const DBFieldPtr& field : record->GetDBFieldList()) {
                char text[40];
                switch (field->GetValueType()) {
                    case tagDBValueType::Integer:
                        std::snprintf(text, sizeof text, " %" PRId64, field->GetInt64());
                        break;
                    case tagDBValueType::Real: {
                        std::snprintf(text, sizeof text, " %.17g", field->GetDouble());
                        if (std::string(text).find_first_of(".eni") == std::string::npos) {
                            std::snprintf(text, sizeof text, " %.17g.0", field->GetDouble());
                        }
                        break;
                    }
                    default:
                        std::snprintf(text, sizeof text, " null");
                }
                out += text;
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace Norvane::PartRows
