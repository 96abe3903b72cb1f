#pragma once

// A prepared statement with bound parameters, stepping through its rows.
//
// Every value that comes from an export file or from the user is bound, never spliced into
// the SQL text, so a name like O'Brien or a number holding "%" is data and nothing else.
// Prepare once, then bind, step and reset for every export line.

#include "clubdb/Connection.h"
#include "clubdb/Date.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3_stmt;

namespace clubdb {

// A value to bind or a field's value: none (NULL), text, integer, real, Boolean or date.
using Value = std::variant<std::monostate, std::string, std::int64_t, double, bool, Date>;

class Statement
{
public:
    // Prepares one SQL statement; throws DbError.
    Statement(Connection& connection, std::string_view sql);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Binds the parameter at position (1 = the first "?"). A Boolean is stored as 1 or 0, a
    // date as its text "YYYY-MM-DD HH:MM:SS".
    Statement& bind(int position, const Value& value);

    // Binds the values to the parameters 1, 2, 3, ... in order.
    Statement& bindAll(std::initializer_list<Value> values);

    // As bindAll(), without copying the texts: for the writers, which store a record for every
    // export line. The values must live until the statement has run, and the statement must be
    // bound anew before it runs again.
    Statement& bindAllBorrowed(std::initializer_list<Value> values);

    // Moves to the next row; false when there is none. Throws DbError.
    bool step();

    // Steps to the end, for statements that return no rows.
    void execute();

    // Makes the statement ready to run again; the bound values stay until bound anew.
    void reset();

    // The current row's fields, by position (0 = the first field) or by name (regardless of
    // letter case; an unknown name throws 3265).
    int columnCount() const;
    std::string columnName(int column) const;
    int columnIndex(std::string_view name) const;

    // The declared type of a result column that is a table column ("SMALLINT"), else empty.
    std::string declaredType(int column) const;

    bool isNull(int column) const;
    Value value(int column) const;

    // The field's value as the type asked for. A field without value throws 94; a value that
    // cannot be read as that type throws 13. Text is returned as stored (not trimmed); an
    // integer field is read as its decimal text.
    std::string text(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    bool boolean(int column) const; // any non-zero number is true
    Date date(int column) const;

    bool isNull(std::string_view name) const { return isNull(columnIndex(name)); }
    std::string text(std::string_view name) const { return text(columnIndex(name)); }
    std::int64_t integer(std::string_view name) const { return integer(columnIndex(name)); }
    double real(std::string_view name) const { return real(columnIndex(name)); }
    bool boolean(std::string_view name) const { return boolean(columnIndex(name)); }
    Date date(std::string_view name) const { return date(columnIndex(name)); }

private:
    void requireValue(int column) const;

    sqlite3_stmt* m_statement = nullptr;
};

} // namespace clubdb
