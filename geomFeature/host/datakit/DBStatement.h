#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

struct sqlite3;
struct sqlite3_stmt;

namespace Norvane {

// A statement compiled once and run many times with new values, for writing many rows of one kind: the
// values are bound by position (from 1) and Execute runs the statement once and readies it for the next row.
// Much cheaper than building and compiling a statement text per row. Made by DBConnect::Prepare; it must not
// outlive its connection. Every failure throws DBException naming the file and the statement.
class DBStatement {
public:
    DBStatement(sqlite3* db, const std::string& path, const std::string& text);
    ~DBStatement();
    DBStatement(const DBStatement&) = delete;
    DBStatement& operator=(const DBStatement&) = delete;

    void BindInt64(int index, std::int64_t value);
    // Text, stored as the column's type makes of it (a real column turns "0.5" into the number 0.5, exactly
    // as a literal 0.5 in a statement's text would be). The text is not copied: it must stay unchanged until
    // the statement has run (or the value is bound anew).
    void BindText(int index, const char* text, std::size_t size);
    // Runs the statement with the bound values, then resets it (the bindings are kept until replaced).
    void Execute();

private:
    [[noreturn]] void Fail(const std::string& what) const;

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    std::string m_path;
    std::string m_text;
};

using DBStatementPtr = boost::shared_ptr<DBStatement>;

}  // namespace Norvane
