#include "clubdb/TableDefinition.h"

#include "clubdb/RecordWriter.h"

namespace clubdb {
namespace {

std::string columnSql(const FieldDefinition& field)
{
    const std::string name = quoteName(field.name);
    switch (field.type) {
    case FieldType::Long:
        return name + " INTEGER";
    case FieldType::AutoIncrement:
        return name + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldType::Integer:
        return name + " SMALLINT";
    case FieldType::Byte:
        return name + " TINYINT";
    case FieldType::Single:
        return name + " REAL";
    case FieldType::Boolean:
        return name + " BOOLEAN";
    case FieldType::Date:
        return name + " DATETIME";
    case FieldType::Text: {
        const std::string size = std::to_string(field.size);
        return name + " VARCHAR(" + size + ") CHECK (" + name + " <> '' AND length(" + name + ") <= " + size + ")";
    }
    }
    return name;
}

} // namespace

std::string createTableSql(const TableDefinition& table)
{
    std::string columns;
    for (const FieldDefinition& field : table.fields)
        columns += (columns.empty() ? "" : ", ") + columnSql(field);
    return "CREATE TABLE " + quoteName(table.name) + " (" + columns + ")";
}

void createTable(Connection& connection, const TableDefinition& table)
{
    connection.execute(createTableSql(table));
    for (const IndexDefinition& index : table.indexes) {
        std::string fields;
        for (const std::string& field : index.fields)
            fields += (fields.empty() ? "" : ", ") + quoteName(field);
        connection.execute("CREATE INDEX " + quoteName(index.name) + " ON " + quoteName(table.name) + " (" + fields +
                           ")");
    }
}

} // namespace clubdb
