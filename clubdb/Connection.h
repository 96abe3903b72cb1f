#pragma once

// A connection to one database file: the club database or the definitions file.
//
// Every connection gets the program's LIKE and collation (SqlFunctions.h), so a lookup
// behaves the same whichever file it runs on. The connection closes on every path; close()
// closes early and reports a failure that the destructor would have to swallow.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace clubdb {

enum class OpenMode { ReadOnly, ReadWrite };

struct ColumnInfo
{
    std::string name;
    std::string declaredType; // "INTEGER", "VARCHAR(42)", "SMALLINT", ...
};

class Connection
{
public:
    // Opens an existing database file. Throws DbError: 3024 when there is no file, 3051 when
    // it is locked or may not be read (or, for ReadWrite, not written), SQLite's number when
    // it is no database.
    static Connection open(const std::string& path, OpenMode mode = OpenMode::ReadWrite);

    // Creates a new, empty database file and opens it. Throws DbError: 3204 when a file of
    // that name exists (it is left alone), 3044 when its folder does not exist (no folder is
    // created), 3051 when the folder may not be written.
    static Connection create(const std::string& path);

    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Closes the connection; throws DbError when the engine refuses. Closing twice is harmless.
    void close();

    // Runs SQL that returns no rows (several statements are allowed); throws DbError.
    void execute(std::string_view sql);

    // The key that the engine gave the record stored last on this connection.
    std::int64_t lastInsertKey() const;

    // The columns of a table in the order of creation; empty when there is no such table.
    // Table names are matched regardless of letter case.
    std::vector<ColumnInfo> columns(std::string_view table);

    sqlite3* handle() const { return m_db; }

private:
    explicit Connection(sqlite3* db) : m_db(db) {}
    static Connection openHandle(const std::string& path, int flags);

    sqlite3* m_db = nullptr;
};

// A transaction that rolls back unless committed: a step that fails half-way leaves the file
// as it was before the transaction began.
class Transaction
{
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace clubdb
