#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace clubdb;

namespace {

int errorNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

// A wrong name, a wrong type or a missing value is a DbError with the number the user is shown.
TEST(ConnectionTest, FieldsAreWrittenAndReadByNameOrPositionWithTheirTypes)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE Person (Id INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(20), Zahl SMALLINT, "
               "Kaliber REAL, Frau BOOLEAN, Geboren DATETIME)");
    RecordInserter insert(db, "Person", {"Name", "Zahl", "Kaliber", "Frau", "Geboren"});
    const Date born = *Date::fromCivil(1961, 12, 24);
    EXPECT_EQ(insert.insert({std::string("O'Brien; DROP TABLE Person --"), std::int64_t{-7}, 4.5, true, born}), 1);
    EXPECT_EQ(insert.insert({std::monostate(), std::monostate(), std::monostate(), false, std::monostate()}), 2);
    {
        Transaction rolledBack(db);
        insert.insert({std::string("weg"), std::int64_t{1}, 1.0, true, born});
    }
    Transaction transaction(db);
    RecordUpdater(db, "Person", "Id", {"Zahl", "Frau"}).update(2, {std::int64_t{3}, true});
    transaction.commit();

    Statement query(db, "SELECT * FROM person ORDER BY id");
    ASSERT_TRUE(query.step());
    EXPECT_EQ(query.text("NAME"), "O'Brien; DROP TABLE Person --");
    EXPECT_DOUBLE_EQ(query.real("Kaliber"), 4.5);
    EXPECT_TRUE(query.boolean("Frau"));
    EXPECT_EQ(query.date("Geboren"), born);
    EXPECT_EQ(errorNumber([&] { query.text("Vorname"); }), fehler::kElementNichtGefunden);
    EXPECT_EQ(errorNumber([&] { query.integer("Name"); }), fehler::kTypenUnvertraeglich);

    ASSERT_TRUE(query.step());
    EXPECT_TRUE(query.isNull("Name"));
    EXPECT_TRUE(query.boolean("Frau"));
    EXPECT_EQ(query.integer("Zahl"), 3);
    EXPECT_EQ(errorNumber([&] { query.text("Name"); }), fehler::kUnzulaessigesNull);
    EXPECT_FALSE(query.step());
}
