#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
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

TEST(ConnectionTest, OpenAndCreateReportFailuresWithNumbers)
{
    TempFolder folder;
    const std::string existing = folder.file("da.db");
    Connection holder = Connection::create(existing);
    const std::string garbage = folder.file("kein.db");
    std::ofstream(garbage) << "Dies ist keine Datenbank, sondern ein Brief an den Vorstand.";

    EXPECT_EQ(errorNumber([&] { Connection::open(folder.file("fehlt.db")); }), fehler::kDateiNichtGefunden);
    EXPECT_EQ(errorNumber([&] { Connection::create(existing); }), fehler::kDatenbankExistiert);
    EXPECT_EQ(errorNumber([&] { Connection::create(folder.file("neu/x.db")); }), fehler::kUngueltigerPfad);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "neu"));
    EXPECT_EQ(errorNumber([&] { Connection::open(garbage); }), 26); // SQLite: file is not a database
    EXPECT_EQ(errorNumber([&] { Connection::open(existing, OpenMode::ReadOnly); }), 0);

    // A file locked by another connection is an access error until that one commits.
    holder.execute("CREATE TABLE t (x INTEGER); BEGIN EXCLUSIVE; INSERT INTO t VALUES (1);");
    EXPECT_EQ(errorNumber([&] { Connection::open(existing); }), fehler::kDateiGesperrt);
    holder.execute("COMMIT");
    EXPECT_EQ(errorNumber([&] { Connection::open(existing); }), 0);
}

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
    EXPECT_EQ(query.integer("zahl"), -7);
    EXPECT_EQ(query.text(2), "-7");
    EXPECT_DOUBLE_EQ(query.real("Kaliber"), 4.5);
    EXPECT_TRUE(query.boolean("Frau"));
    EXPECT_EQ(query.date("Geboren"), born);
    EXPECT_EQ(query.declaredType(2), "SMALLINT");
    EXPECT_EQ(query.declaredType(query.columnIndex("geboren")), "DATETIME");
    EXPECT_EQ(errorNumber([&] { query.text("Vorname"); }), fehler::kElementNichtGefunden);
    EXPECT_EQ(errorNumber([&] { query.integer("Name"); }), fehler::kTypenUnvertraeglich);
    EXPECT_EQ(errorNumber([&] { query.boolean("Name"); }), fehler::kTypenUnvertraeglich);

    ASSERT_TRUE(query.step());
    EXPECT_TRUE(query.isNull("Name"));
    EXPECT_TRUE(query.boolean("Frau"));
    EXPECT_EQ(query.integer("Zahl"), 3);
    EXPECT_EQ(errorNumber([&] { query.text("Name"); }), fehler::kUnzulaessigesNull);
    EXPECT_EQ(errorNumber([&] { query.real("Kaliber"); }), fehler::kUnzulaessigesNull);
    EXPECT_FALSE(query.step());
    EXPECT_EQ(db.columns("PERSON").size(), 6u);
    EXPECT_TRUE(db.columns("fehlt").empty());
}
