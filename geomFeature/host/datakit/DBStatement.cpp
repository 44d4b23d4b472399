#include "geomFeature/host/datakit/DBStatement.h"

#include <sqlite3.h>

#include "geomFeature/host/datakit/DBException.h"

namespace Norvane {

DBStatement::DBStatement(sqlite3* db, const std::string& path, const std::string& text)
    : m_db(db), m_path(path), m_text(text) {
    if (sqlite3_prepare_v2(m_db, text.c_str(), static_cast<int>(text.size()), &m_statement, nullptr) !=
            SQLITE_OK ||
        m_statement == nullptr) {
        const std::string reason = sqlite3_errmsg(m_db);
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        throw DBException(tagDBError::SqlError, "cannot prepare a statement in '" + m_path + "': " + reason +
                                                    " (statement: " + text + ")");
    }
}

DBStatement::~DBStatement() {
    sqlite3_finalize(m_statement);
}

void DBStatement::Fail(const std::string& what) const {
    throw DBException(tagDBError::SqlError, what + " in '" + m_path + "': " + sqlite3_errmsg(m_db) +
                                                " (statement: " + m_text + ")");
}

void DBStatement::BindInt64(int index, std::int64_t value) {
    if (sqlite3_bind_int64(m_statement, index, static_cast<sqlite3_int64>(value)) != SQLITE_OK) {
        Fail("cannot bind value " + std::to_string(index));
    }
}

void DBStatement::BindText(int index, const char* text, std::size_t size) {
    if (sqlite3_bind_text(m_statement, index, text, static_cast<int>(size), SQLITE_STATIC) != SQLITE_OK) {
        Fail("cannot bind value " + std::to_string(index));
    }
}

void DBStatement::Execute() {
    const int rc = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        Fail("statement failed");
    }
}

}  // namespace Norvane
