#pragma once

// Every connection that an import step opens to the club database passes through here, so a
// test can make the searches of a step that is running find the file locked.

#include <sqlite3.h>

#include <filesystem>
#include <string>

class StorageFault
{
public:
    explicit StorageFault(const std::string& database) : m_database(std::filesystem::weakly_canonical(database))
    {
        s_active = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&opened));
    }
    ~StorageFault()
    {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&opened));
        s_active = nullptr;
    }

    // Every search by LIKE on the step's connection finds the file locked from now on.
    void lockSearches()
    {
        sqlite3_create_function(m_latest, "like", 3, SQLITE_UTF8, nullptr, &locked, nullptr, nullptr);
    }

private:
    static void locked(sqlite3_context* context, int, sqlite3_value**)
    {
        sqlite3_result_error_code(context, SQLITE_BUSY);
    }

    static int opened(sqlite3* db, char**, const sqlite3_api_routines*)
    {
        const char* name = sqlite3_db_filename(db, "main");
        if (s_active && name && std::filesystem::weakly_canonical(name) == s_active->m_database &&
            !sqlite3_db_readonly(db, "main"))
            s_active->m_latest = db;
        return SQLITE_OK;
    }

    static inline StorageFault* s_active = nullptr;
    std::filesystem::path m_database;
    sqlite3* m_latest = nullptr; // the connection opened last for writing: the running step's
};
