#include "geomFeature/host/datakit/DBResult.h"

#include <sqlite3.h>

#include <cstdint>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBException.h"

namespace Norvane {

namespace {

DBFieldPtr ReadColumn(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return boost::make_shared<DBField>(
                static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT:
            return boost::make_shared<DBField>(sqlite3_column_double(statement, column));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const int size = sqlite3_column_bytes(statement, column);
            return boost::make_shared<DBField>(tagDBValueType::Text,
                                               text ? std::string(text, static_cast<std::size_t>(size)) : "");
        }
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
            const int size = sqlite3_column_bytes(statement, column);
            return boost::make_shared<DBField>(
                tagDBValueType::Blob, bytes ? std::string(bytes, static_cast<std::size_t>(size)) : "");
        }
        default:
            return boost::make_shared<DBField>();
    }
}

}  // namespace

DBResult::DBResult(sqlite3_stmt* statement, std::string text)
    : m_statement(statement), m_text(std::move(text)) {}

DBResult::~DBResult() {
    sqlite3_finalize(m_statement);
}

DBRecordPtr DBResult::Next() {
    if (m_done) {
        return DBRecordPtr();
    }
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_DONE) {
        m_done = true;
        return DBRecordPtr();
    }
    if (rc != SQLITE_ROW) {
        m_done = true;
        sqlite3* db = sqlite3_db_handle(m_statement);
        const std::string reason = sqlite3_errmsg(db);
        throw DBException(DBErrorOfCode(sqlite3_extended_errcode(db)),
                          "reading rows failed: " + reason + " (statement: " + m_text + ")",
                          "reading failed: " + reason);
    }
    const int count = sqlite3_column_count(m_statement);
    DBFieldList fields;
    fields.reserve(static_cast<std::size_t>(count));
    for (int column = 0; column < count; ++column) {
        fields.push_back(ReadColumn(m_statement, column));
    }
    return boost::make_shared<DBRecord>(std::move(fields));
}

int DBResult::GetColumnCount() const {
    return sqlite3_column_count(m_statement);
}

}  // namespace Norvane
