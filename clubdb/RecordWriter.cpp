#include "clubdb/RecordWriter.h"

#include <cassert>

namespace clubdb {
namespace {

std::string insertSql(std::string_view table, const std::vector<std::string>& fields)
{
    std::string names;
    std::string parameters;
    for (const std::string& field : fields) {
        names += (names.empty() ? "" : ", ") + quoteName(field);
        parameters += parameters.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + quoteName(table) + " (" + names + ") VALUES (" + parameters + ")";
}

std::string updateSql(std::string_view table, std::string_view keyField, const std::vector<std::string>& fields)
{
    std::string assignments;
    for (const std::string& field : fields)
        assignments += (assignments.empty() ? "" : ", ") + quoteName(field) + " = ?";
    return "UPDATE " + quoteName(table) + " SET " + assignments + " WHERE " + quoteName(keyField) + " = ?";
}

} // namespace

std::string quoteName(std::string_view name)
{
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

RecordInserter::RecordInserter(Connection& connection, std::string_view table, const std::vector<std::string>& fields)
    : m_connection(connection)
    , m_statement(connection, insertSql(table, fields))
    , m_fieldCount(fields.size())
{
}

std::int64_t RecordInserter::insert(std::initializer_list<Value> values)
{
    assert(values.size() == m_fieldCount);
    m_statement.reset();
    m_statement.bindAllBorrowed(values);
    m_statement.execute();
    return m_connection.lastInsertKey();
}

RecordUpdater::RecordUpdater(Connection& connection, std::string_view table, std::string_view keyField,
                             const std::vector<std::string>& fields)
    : m_statement(connection, updateSql(table, keyField, fields))
    , m_fieldCount(fields.size())
{
}

void RecordUpdater::update(std::int64_t key, std::initializer_list<Value> values)
{
    assert(values.size() == m_fieldCount);
    m_statement.reset();
    m_statement.bindAllBorrowed(values);
    m_statement.bind(static_cast<int>(m_fieldCount) + 1, key);
    m_statement.execute();
}

} // namespace clubdb
