#pragma once

// Storing records: adding a record and reading its new key at once, and changing fields of
// a found record in place. The importers do this for every export line, so each writer
// prepares its statement once and runs it again for every record.

#include "clubdb/Statement.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace clubdb {

// Quotes a table or field name for SQL text ("GStraße", "Mgl_Schütze_ID").
std::string quoteName(std::string_view name);

class RecordInserter
{
public:
    // Adds records to table, setting the given fields; the other fields stay without value.
    RecordInserter(Connection& connection, std::string_view table, const std::vector<std::string>& fields);

    // Stores one record with values in the order of the fields and returns the key that the
    // engine gave it, so that a membership can name the person stored a moment ago.
    std::int64_t insert(std::initializer_list<Value> values);

private:
    Connection& m_connection;
    Statement m_statement;
    std::size_t m_fieldCount;
};

class RecordUpdater
{
public:
    // Changes the given fields of the record of table whose keyField equals a key.
    RecordUpdater(Connection& connection, std::string_view table, std::string_view keyField,
                  const std::vector<std::string>& fields);

    // Saves values (in the order of the fields) into the record with that key.
    void update(std::int64_t key, std::initializer_list<Value> values);

private:
    Statement m_statement;
    std::size_t m_fieldCount;
};

} // namespace clubdb
