#include "clubdb/Connection.h"

#include "clubdb/DbError.h"
#include "clubdb/SqlFunctions.h"
#include "clubdb/Statement.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace clubdb {
namespace {

// Another program of the club (the competition program itself) may hold the file for a
// moment; wait that long before calling it locked.
constexpr int kBusyTimeoutMs = 1000;

// A NUL byte ends a path for the system, which would then open the file named by the part
// before it; such a path (read from a garbled settings file) names no file at all.
void requireWholePath(const std::string& path)
{
    const std::size_t nul = path.find('\0');
    if (nul != std::string::npos)
        throw DbError(fehler::kUngueltigerPfad, "'" + path.substr(0, nul) + "...' ist kein zulässiger Pfad.",
                      DbError::Cause::Storage);
}

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The engine counts every allocation under a lock of its own unless told otherwise before its
// first use; the program never asks for the count, and a federation's import allocates millions
// of times.
void configureEngine()
{
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)configured;
}

} // namespace

Connection Connection::openHandle(const std::string& path, int flags)
{
    configureEngine();
    sqlite3* db = nullptr;
    // Each connection serves one thread only, so it needs no lock of its own.
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection(db);
    check(db, rc);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // The indexes of a federation's club database outgrow the engine's small default cache; every
    // insert would then read its pages from the file again.
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    // The engine opens lazily: read the schema now, so that a locked file, a file that is no
    // database or a file that may not be written fails here and not at the first query.
    check(db, sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr));
    if ((flags & SQLITE_OPEN_READWRITE) && sqlite3_db_readonly(db, "main") == 1)
        throw DbError(fehler::kDateiGesperrt, "Die Datei " + path + " darf nicht geschrieben werden.",
                      DbError::Cause::Storage);
    installSqlFunctions(db);
    return connection;
}

Connection Connection::open(const std::string& path, OpenMode mode)
{
    requireWholePath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw DbError(fehler::kDateiNichtGefunden, "Die Datei " + path + " wurde nicht gefunden.",
                      DbError::Cause::Storage);
    const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    return openHandle(path, flags);
}

Connection Connection::create(const std::string& path)
{
    requireWholePath(path);
    std::error_code ec;
    const std::string folder = folderOf(path);
    if (!std::filesystem::is_directory(folder, ec))
        throw DbError(fehler::kUngueltigerPfad, "'" + folder + "' ist kein zulässiger Pfad.", DbError::Cause::Storage);
    // Create the file exclusively, so that a file that appeared meanwhile is never taken
    // over; an empty file is an empty database to the engine.
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (!file) {
        const int error = errno;
        if (error == EEXIST)
            throw DbError(fehler::kDatenbankExistiert, "Die Datenbank " + path + " existiert bereits.",
                          DbError::Cause::Storage);
        if (error == EACCES || error == EPERM || error == EROFS || error == EBUSY)
            throw DbError(fehler::kDateiGesperrt,
                          "Die Datei " + path + " kann nicht angelegt werden (" + std::strerror(error) + ").",
                          DbError::Cause::Storage);
        throw DbError(error, "Die Datei " + path + " kann nicht angelegt werden (" + std::strerror(error) + ").",
                      DbError::Cause::Storage);
    }
    std::fclose(file);
    try {
        return openHandle(path, SQLITE_OPEN_READWRITE);
    } catch (...) {
        std::filesystem::remove(path, ec);
        throw;
    }
}

Connection::Connection(Connection&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

Connection::~Connection()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Connection::close()
{
    if (!m_db)
        return;
    sqlite3* db = std::exchange(m_db, nullptr);
    const int rc = sqlite3_close(db);
    if (rc != SQLITE_OK) {
        // A statement is still open; let the engine close once it is finalised.
        DbError error = errorFrom(db, rc);
        sqlite3_close_v2(db);
        throw error;
    }
}

void Connection::execute(std::string_view sql)
{
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    check(m_db, rc);
}

std::int64_t Connection::lastInsertKey() const
{
    return sqlite3_last_insert_rowid(m_db);
}

std::vector<ColumnInfo> Connection::columns(std::string_view table)
{
    Statement query(*this, "SELECT name, type FROM pragma_table_info(?)");
    query.bind(1, std::string(table));
    std::vector<ColumnInfo> result;
    while (query.step())
        result.push_back({query.text(0), query.text(1)});
    return result;
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_connection.execute("COMMIT");
    m_open = false;
}

} // namespace clubdb
