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
