#pragma once

// Every connection that an import step opens to the club database passes through here, so a
// test can break the storage under a step that is running: a full disk (SQLite's page limit
// of the connection) or a file that may no longer be written.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

class StorageFault
{
public:
    explicit StorageFault(std::string database) : m_database(std::filesystem::weakly_canonical(database).string())
    {
        s_active = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&opened));
    }
    ~StorageFault()
    {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&opened));
        s_active = nullptr;
    }
    StorageFault(const StorageFault&) = delete;
    StorageFault& operator=(const StorageFault&) = delete;

    // The disk is full: the step's connection gets no page beyond those it has now.
    void fillDisk() { pragma("PRAGMA max_page_count = " + std::to_string(pageCount())); }

    // The file may no longer be written through the step's connection.
    void makeReadOnly() { pragma("PRAGMA query_only = 1"); }

private:
    static int opened(sqlite3* db, char**, const sqlite3_api_routines*)
    {
        const char* name = sqlite3_db_filename(db, "main");
        if (s_active && name && std::filesystem::weakly_canonical(name).string() == s_active->m_database &&
            !sqlite3_db_readonly(db, "main"))
            s_active->m_latest = db;
        return SQLITE_OK;
    }

    std::int64_t pageCount()
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_latest, "PRAGMA page_count", -1, &statement, nullptr);
        sqlite3_step(statement);
        const std::int64_t pages = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return pages;
    }

    void pragma(const std::string& sql)
    {
        if (m_latest)
            sqlite3_exec(m_latest, sql.c_str(), nullptr, nullptr, nullptr);
    }

    static inline StorageFault* s_active = nullptr;
    std::string m_database;
    sqlite3* m_latest = nullptr; // the connection opened last for writing: the running step's
};
