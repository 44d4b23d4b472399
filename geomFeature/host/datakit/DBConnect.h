#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/datakit/DBRecord.h"
#include "geomFeature/host/datakit/DBResult.h"
#include "geomFeature/host/datakit/DBStatement.h"

struct sqlite3;

namespace Norvane {

// How a part database is opened.
enum class tagDBOpenMode : int {
    OpenOrCreate,  // create the file when it does not exist (saving)
    OpenExisting,  // the file must exist (loading); it stays writable so that an interrupted save's
                   // journal can be rolled back
    ReadOnly,      // never writes, not even a journal rollback
};

// The open database of one part. Statements are plain SQL text; every real failure throws DBException
// with a message that names the file or the statement, so nothing fails silently.
//
// A batch is a transaction: BeginBatch starts it, EndBatch commits it, RollbackBatch drops everything done
// since BeginBatch. Batches nest by counting: only the outermost Begin/End pair talks to the database, and a
// rollback at any depth ends the whole transaction.
class DBConnect {
public:
    // path is a file name or ":memory:" for a private database that lives as long as the connection.
    // Throws DBException (CannotOpen or NotADatabase) when the file cannot be used.
    explicit DBConnect(const std::string& path, tagDBOpenMode mode = tagDBOpenMode::OpenOrCreate);
    ~DBConnect();
    DBConnect(const DBConnect&) = delete;
    DBConnect& operator=(const DBConnect&) = delete;

    const std::string& GetPath() const { return m_path; }

    // Runs a select; the rows are read with GetNextRecord. Throws DBException on an SQL error.
    DBResultPtr ExecuteQuery(const std::string& text);
    // The next row of result, or an empty pointer when the rows are exhausted.
    DBRecordPtr GetNextRecord(const DBResultPtr& result);
    // Runs one or more statements that return no rows. flags is reserved and must be 0. Answers the number
    // of rows the last statement inserted, changed or deleted. Throws DBException on an SQL error.
    int Execute(const std::string& text, int flags);
    // Compiles a statement with ? placeholders for running many times (see DBStatement). Throws DBException
    // on an SQL error.
    DBStatementPtr Prepare(const std::string& text);

    void BeginBatch();
    void EndBatch();
    // Drops the open transaction; nothing when none is open (so it is safe in any error path).
    void RollbackBatch();
    int GetBatchDepth() const { return m_batchDepth; }

    // 1 when a table of that name exists, else 0.
    int TableExists(const std::string& table);
    // Number of columns of the table, or -1 when there is no such table.
    int GetColumnCount(const std::string& table);

private:
    [[noreturn]] void ThrowSqlError(const std::string& what, const std::string& text) const;

    sqlite3* m_db = nullptr;
    std::string m_path;
    int m_batchDepth = 0;
};

using DBConnectPtr = boost::shared_ptr<DBConnect>;

}  // namespace Norvane
