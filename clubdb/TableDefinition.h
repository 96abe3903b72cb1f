#pragma once

// Creating tables with the field types of the Zervik files.
//
// Both database files are read by the Zervik program outside this system, which learns a
// field's kind from its declared type, so each kind has one fixed declared type. A text field
// never holds an empty text and never more than its size: the file itself refuses such a
// write, so that no importer can store one by mistake.

#include "clubdb/Connection.h"

#include <string>
#include <vector>

namespace clubdb {

enum class FieldType {
    Long,          // 32-bit integer
    AutoIncrement, // Long key that the engine assigns to each new record
    Integer,       // 16-bit integer
    Byte,          // unsigned 8-bit integer
    Single,        // 32-bit float
    Boolean,
    Date,
    Text, // with a size in characters
};

struct FieldDefinition
{
    std::string name;
    FieldType type;
    int size = 0; // characters, for Text only
};

struct IndexDefinition
{
    std::string name;
    std::vector<std::string> fields;
};

struct TableDefinition
{
    std::string name;
    std::vector<FieldDefinition> fields;
    std::vector<IndexDefinition> indexes;
};

// The CREATE TABLE statement of a table, fields in their order.
std::string createTableSql(const TableDefinition& table);

// Creates the table, then its indexes in their order. Throws DbError.
void createTable(Connection& connection, const TableDefinition& table);

} // namespace clubdb
