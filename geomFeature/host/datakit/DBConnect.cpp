#include "geomFeature/host/datakit/DBConnect.h"

#include <sqlite3.h>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBException.h"

namespace Norvane {

namespace {

// How long a statement waits for another process's lock on the same file before it fails, in ms.
constexpr int kBusyTimeoutMs = 2000;

int OpenFlags(tagDBOpenMode mode) {
    switch (mode) {
        case tagDBOpenMode::OpenOrCreate:
            return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        case tagDBOpenMode::OpenExisting:
            return SQLITE_OPEN_READWRITE;
        case tagDBOpenMode::ReadOnly:
            return SQLITE_OPEN_READONLY;
    }
    return SQLITE_OPEN_READWRITE;
}

}  // namespace

tagDBError DBErrorOfCode(int sqliteCode) {
    switch (sqliteCode & 0xff) {
        case SQLITE_NOTADB:
            return tagDBError::NotADatabase;
        case SQLITE_CORRUPT:
            return tagDBError::Damaged;
        case SQLITE_IOERR:
        case SQLITE_FULL:
            return tagDBError::IoError;
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_READONLY:
            return tagDBError::CannotOpen;
        default:
            return tagDBError::SqlError;
    }
}

DBConnect::DBConnect(const std::string& path, tagDBOpenMode mode) : m_path(path) {
    const int rc = sqlite3_open_v2(path.c_str(), &m_db, OpenFlags(mode), nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        const int code = m_db ? sqlite3_extended_errcode(m_db) : rc;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        // A file that opens but cannot be read is an I/O error; anything else means it cannot be opened.
        const bool io = DBErrorOfCode(code) == tagDBError::IoError;
        throw DBException(io ? tagDBError::IoError : tagDBError::CannotOpen,
                          "cannot open database '" + path + "': " + reason,
                          (io ? "reading failed (" : "cannot open the file (") + reason + ")");
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // SQLite reads the file header lazily; touch the schema now so that a file of another kind is
    // reported here, by name, rather than as a puzzling error of the first statement.
    char* message = nullptr;
    const int check = sqlite3_exec(m_db, "select count(*) from sqlite_master;", nullptr, nullptr, &message);
    if (check != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errstr(check);
        sqlite3_free(message);
        const int extended = sqlite3_extended_errcode(m_db);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        tagDBError error = DBErrorOfCode(extended);
        if (error == tagDBError::SqlError) {
            error = tagDBError::CannotOpen;
        }
        const std::string detail = error == tagDBError::NotADatabase
                                       ? "not an SQLite database (" + reason + ")"
                                   : error == tagDBError::Damaged ? "the database is damaged (" + reason + ")"
                                   : error == tagDBError::IoError ? "reading failed (" + reason + ")"
                                                                  : "cannot be read (" + reason + ")";
        throw DBException(error,
                          error == tagDBError::NotADatabase
                              ? "'" + path + "' is not an SQLite database (" + reason + ")"
                              : "cannot read database '" + path + "': " + reason,
                          detail);
    }
}

DBConnect::~DBConnect() {
    if (m_batchDepth > 0) {
        sqlite3_exec(m_db, "rollback;", nullptr, nullptr, nullptr);
    }
    // close_v2 defers the close until results still alive are finalised.
    sqlite3_close_v2(m_db);
}

void DBConnect::ThrowSqlError(const std::string& what, const std::string& text) const {
    const std::string reason = sqlite3_errmsg(m_db);
    throw DBException(DBErrorOfCode(sqlite3_extended_errcode(m_db)),
                      what + " in '" + m_path + "': " + reason + " (statement: " + text + ")",
                      what + ": " + reason);
}

DBResultPtr DBConnect::ExecuteQuery(const std::string& text) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, text.c_str(), static_cast<int>(text.size()), &statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        ThrowSqlError("query failed", text);
    }
    if (statement == nullptr) {  // only white space or a comment
        throw DBException(tagDBError::Misuse, "empty query in '" + m_path + "'");
    }
    return boost::make_shared<DBResult>(statement, text);
}

DBRecordPtr DBConnect::GetNextRecord(const DBResultPtr& result) {
    if (!result) {
        return DBRecordPtr();
    }
    return result->Next();
}

int DBConnect::Execute(const std::string& text, int /*flags*/) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        throw DBException(DBErrorOfCode(sqlite3_extended_errcode(m_db)),
                          "statement failed in '" + m_path + "': " + reason + " (statement: " + text + ")",
                          "writing failed: " + reason);
    }
    return sqlite3_changes(m_db);
}

DBStatementPtr DBConnect::Prepare(const std::string& text) {
    return boost::make_shared<DBStatement>(m_db, m_path, text);
}

void DBConnect::BeginBatch() {
    if (m_batchDepth == 0) {
        // Immediate: take the write lock now, so a busy file fails here and not half-way through a save.
        Execute("begin immediate;", 0);
    }
    ++m_batchDepth;
}

void DBConnect::EndBatch() {
    if (m_batchDepth == 0) {
        throw DBException(tagDBError::Misuse, "end of a batch that was never begun in '" + m_path + "'");
    }
    if (m_batchDepth == 1) {
        Execute("commit;", 0);  // a failed commit leaves the transaction open: the caller rolls back
    }
    --m_batchDepth;
}

void DBConnect::RollbackBatch() {
    if (m_batchDepth == 0) {
        return;
    }
    m_batchDepth = 0;
    // SQLite may already have rolled back by itself (a full disk, an I/O error); then there is nothing to do.
    if (!sqlite3_get_autocommit(m_db)) {
        sqlite3_exec(m_db, "rollback;", nullptr, nullptr, nullptr);
    }
}

int DBConnect::TableExists(const std::string& table) {
    return GetColumnCount(table) >= 0 ? 1 : 0;
}

int DBConnect::GetColumnCount(const std::string& table) {
    sqlite3_stmt* statement = nullptr;
    const std::string text = "select count(*) from pragma_table_info(?1);";
    if (sqlite3_prepare_v2(m_db, text.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        ThrowSqlError("schema query failed", text);
    }
    sqlite3_bind_text(statement, 1, table.c_str(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(statement);
    const int count = rc == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW) {
        ThrowSqlError("schema query failed", text);
    }
    return count > 0 ? count : -1;
}

}  // namespace Norvane
