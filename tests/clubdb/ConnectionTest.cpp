#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "support/ErrorNumber.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace clubdb;

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
    EXPECT_EQ(std::tuple(query.text("NAME"), query.real("Kaliber"), query.boolean("Frau"), query.date("Geboren"),
                         errorNumber([&] { query.text("Vorname"); }), errorNumber([&] { query.integer("Name"); })),
              std::tuple("O'Brien; DROP TABLE Person --", 4.5, true, born, fehler::kElementNichtGefunden,
                         fehler::kTypenUnvertraeglich));
    ASSERT_TRUE(query.step());
    EXPECT_EQ(std::tuple(query.isNull("Name"), query.boolean("Frau"), query.integer("Zahl"),
                         errorNumber([&] { query.text("Name"); })),
              std::tuple(true, true, 3, fehler::kUnzulaessigesNull));
    EXPECT_FALSE(query.step());
    Statement texte(db, "SELECT ' 12 ' AS a, '12x' AS b"); // a number stored as text, and no number
    EXPECT_TRUE(texte.step() && texte.integer("a") == 12 &&
                errorNumber([&] { texte.integer("b"); }) == fehler::kTypenUnvertraeglich);
}
