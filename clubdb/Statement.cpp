#include "clubdb/Statement.h"

#include "clubdb/DbError.h"
#include "clubdb/SqlFunctions.h"
#include "text/Utf8.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace clubdb {
namespace {

// Longer texts are copied as bind() copies them.
constexpr std::size_t kBorrowedTextLimit = 1 << 20;

DbError typeMismatch(const Statement& statement, int column)
{
    return DbError(fehler::kTypenUnvertraeglich,
                   "Typen unverträglich: Das Feld " + statement.columnName(column) + " passt nicht zum Typ.");
}

} // namespace

Statement::Statement(Connection& connection, std::string_view sql)
{
    sqlite3* db = connection.handle();
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr);
    check(db, rc);
}

Statement::Statement(Statement&& other) noexcept : m_statement(std::exchange(other.m_statement, nullptr)) {}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Statement& Statement::bind(int position, const Value& value)
{
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(value)) {
        rc = sqlite3_bind_null(m_statement, position);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        rc = sqlite3_bind_text64(m_statement, position, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(m_statement, position, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(m_statement, position, *d);
    } else if (const auto* b = std::get_if<bool>(&value)) {
        rc = sqlite3_bind_int(m_statement, position, *b ? 1 : 0);
    } else {
        const std::string stored = std::get<Date>(value).toText();
        rc = sqlite3_bind_text64(m_statement, position, stored.data(), stored.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    check(sqlite3_db_handle(m_statement), rc);
    return *this;
}

Statement& Statement::bindAll(std::initializer_list<Value> values)
{
    int position = 1;
    for (const Value& value : values)
        bind(position++, value);
    return *this;
}

Statement& Statement::bindAllBorrowed(std::initializer_list<Value> values)
{
    int position = 1;
    for (const Value& value : values) {
        const auto* s = std::get_if<std::string>(&value);
        // A text without NUL byte is bound up to its terminator: the engine then needs neither a
        // copy nor a terminated copy for the checks of the field.
        if (s && s->size() < kBorrowedTextLimit && s->find('\0') == std::string::npos)
            check(sqlite3_db_handle(m_statement),
                  sqlite3_bind_text(m_statement, position, s->c_str(), -1, SQLITE_STATIC));
        else
            bind(position, value);
        ++position;
    }
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // Leave the statement ready for the next line even after a failure.
    sqlite3* db = sqlite3_db_handle(m_statement);
    DbError error = errorFrom(db, rc);
    sqlite3_reset(m_statement);
    throw error;
}

void Statement::execute()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

std::string Statement::columnName(int column) const
{
    const char* name = sqlite3_column_name(m_statement, column);
    return name ? name : std::string();
}

int Statement::columnIndex(std::string_view name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (compareIgnoringCase(columnName(i), name) == 0)
            return i;
    }
    throw DbError(fehler::kElementNichtGefunden,
                  "Das Element " + std::string(name) + " wurde in der Auflistung nicht gefunden.");
}

std::string Statement::declaredType(int column) const
{
    const char* type = sqlite3_column_decltype(m_statement, column);
    return type ? type : std::string();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

void Statement::requireValue(int column) const
{
    if (column < 0 || column >= columnCount())
        throw DbError(fehler::kElementNichtGefunden,
                      "Das Element " + std::to_string(column) + " wurde in der Auflistung nicht gefunden.");
    if (isNull(column))
        throw DbError(fehler::kUnzulaessigesNull,
                      "Unzulässige Verwendung von Null: Das Feld " + columnName(column) + " hat keinen Wert.");
}

Value Statement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::monostate();
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    default:
        return text(column);
    }
}

std::string Statement::text(int column) const
{
    requireValue(column);
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    const int size = sqlite3_column_bytes(m_statement, column);
    return std::string(data, static_cast<std::size_t>(size));
}

std::int64_t Statement::integer(int column) const
{
    requireValue(column);
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(m_statement, column);
    case SQLITE_FLOAT: {
        // Whole numbers stored as REAL are taken; rounding half to even as the Zervik
        // program's conversion does.
        const double d = sqlite3_column_double(m_statement, column);
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            throw typeMismatch(*this, column);
        return static_cast<std::int64_t>(std::nearbyint(d));
    }
    case SQLITE_TEXT: {
        const std::string stored = text(column);
        const std::string_view s = text::trimmedView(stored);
        std::int64_t result = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
        if (ec != std::errc() || end != s.data() + s.size() || s.empty())
            throw typeMismatch(*this, column);
        return result;
    }
    default:
        throw typeMismatch(*this, column);
    }
}

double Statement::real(int column) const
{
    requireValue(column);
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_TEXT: {
        const std::string stored = text(column);
        const std::string_view s = text::trimmedView(stored);
        double result = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
        if (ec != std::errc() || end != s.data() + s.size() || s.empty())
            throw typeMismatch(*this, column);
        return result;
    }
    default:
        throw typeMismatch(*this, column);
    }
}

bool Statement::boolean(int column) const
{
    requireValue(column);
    const int type = sqlite3_column_type(m_statement, column);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT)
        throw typeMismatch(*this, column);
    return sqlite3_column_double(m_statement, column) != 0.0;
}

Date Statement::date(int column) const
{
    requireValue(column);
    if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        throw typeMismatch(*this, column);
    const auto parsed = Date::fromText(text(column));
    if (!parsed)
        throw typeMismatch(*this, column);
    return *parsed;
}

} // namespace clubdb
