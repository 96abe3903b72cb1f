#pragma once

// The rows of a query as text, so that a test compares whole records in one line.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"

#include <string>
#include <vector>

// Each row as its fields joined by "|" (a field without value as "NULL").
inline std::vector<std::string> queryRows(clubdb::Connection& db, const std::string& sql)
{
    clubdb::Statement query(db, sql);
    std::vector<std::string> result;
    while (query.step()) {
        std::string row;
        for (int i = 0; i < query.columnCount(); ++i)
            row += (i ? "|" : "") + (query.isNull(i) ? std::string("NULL") : query.text(i));
        result.push_back(row);
    }
    return result;
}

inline std::vector<std::string> queryRows(const std::string& path, const std::string& sql)
{
    clubdb::Connection db = clubdb::Connection::open(path);
    return queryRows(db, sql);
}

// The whole club database as text: its schema, then every row of every table, each prefixed
// with the table's name. A membership that a start right creates enters at the run's clock time:
// of that only the day is kept, so that two runs of the same export compare equal.
inline std::vector<std::string> databaseRows(const std::string& path)
{
    clubdb::Connection db = clubdb::Connection::open(path);
    std::vector<std::string> rows = queryRows(db, "SELECT type, name, sql FROM sqlite_master ORDER BY name");
    for (const std::string& table :
         queryRows(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")) {
        const std::string query = table == "Mitgliedschaft"
                                      ? "SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr, date(Mgl_Eintritt), "
                                        "Mgl_Stamm, Mgl_Pass, Mgl_update FROM Mitgliedschaft"
                                      : "SELECT * FROM \"" + table + "\"";
        for (const std::string& row : queryRows(db, query))
            rows.push_back(table + ": " + row);
    }
    return rows;
}
