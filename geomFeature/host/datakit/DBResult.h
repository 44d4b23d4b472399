#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/datakit/DBRecord.h"

struct sqlite3_stmt;

namespace Norvane {

// A running select: the prepared statement and how far its rows have been read. Made by
// DBConnect::ExecuteQuery and read with DBConnect::GetNextRecord; it may outlive the connection object
// (the database is closed once the last result is gone).
class DBResult {
public:
    DBResult(sqlite3_stmt* statement, std::string text);
    ~DBResult();
    DBResult(const DBResult&) = delete;
    DBResult& operator=(const DBResult&) = delete;

    // The next row, or an empty pointer once the rows are exhausted (and on every later call). Throws
    // DBException when the database fails while stepping (a damaged page, I/O).
    DBRecordPtr Next();
    // Number of columns of the result.
    int GetColumnCount() const;

private:
    sqlite3_stmt* m_statement;
    std::string m_text;  // for messages
    bool m_done = false;
};

using DBResultPtr = boost::shared_ptr<DBResult>;

}  // namespace Norvane
