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
    Connection::create(existing).close();

    const std::string garbage = folder.file("kein.db");
    std::ofstream(garbage) << "Dies ist keine Datenbank, sondern ein Brief an den Vorstand.";

    EXPECT_EQ(errorNumber([&] { Connection::open(folder.file("fehlt.db")); }), fehler::kDateiNichtGefunden);
    EXPECT_EQ(errorNumber([&] { Connection::create(existing); }), fehler::kDatenbankExistiert);
    EXPECT_EQ(errorNumber([&] { Connection::create(folder.file("neu/x.db")); }), fehler::kUngueltigerPfad);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "neu"));
    EXPECT_EQ(errorNumber([&] { Connection::open(garbage); }), 26); // SQLite: file is not a database
    EXPECT_EQ(errorNumber([&] { Connection::open(existing, OpenMode::ReadOnly); }), 0);
}

TEST(ConnectionTest, AFileLockedByAnotherConnectionIsAnAccessError)
{
    TempFolder folder;
    const std::string path = folder.file("gesperrt.db");
    Connection holder = Connection::create(path);
    holder.execute("CREATE TABLE t (x INTEGER); BEGIN EXCLUSIVE; INSERT INTO t VALUES (1);");

    EXPECT_EQ(errorNumber([&] { Connection::open(path); }), fehler::kDateiGesperrt);
    holder.execute("COMMIT");
    EXPECT_EQ(errorNumber([&] { Connection::open(path); }), 0);
}

TEST(ConnectionTest, FieldsAreReadByNameOrPositionWithTheirTypes)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE Person (Id INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(20), Zahl SMALLINT, "
               "Kaliber REAL, Frau BOOLEAN, Geboren DATETIME)");
    RecordInserter insert(db, "Person", {"Name", "Zahl", "Kaliber", "Frau", "Geboren"});
    const Date born = *Date::fromCivil(1961, 12, 24);
    EXPECT_EQ(insert.insert({std::string("O'Brien; DROP TABLE Person --"), std::int64_t{-7}, 4.5, true, born}), 1);
    EXPECT_EQ(insert.insert({std::monostate(), std::monostate(), std::monostate(), false, std::monostate()}), 2);

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
    EXPECT_FALSE(query.boolean("Frau"));
    EXPECT_EQ(errorNumber([&] { query.text("Name"); }), fehler::kUnzulaessigesNull);
    EXPECT_EQ(errorNumber([&] { query.integer("Zahl"); }), fehler::kUnzulaessigesNull);
    EXPECT_FALSE(query.step());
}

TEST(ConnectionTest, UpdateChangesTheFoundRecordInPlace)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE M (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nr VARCHAR(21), Stamm BOOLEAN)");
    RecordInserter insert(db, "M", {"Nr", "Stamm"});
    const auto first = insert.insert({std::string("04-001-0027"), false});
    const auto second = insert.insert({std::string("04-002-0001"), false});

    RecordUpdater update(db, "M", "Id", {"Stamm"});
    update.update(second, {true});

    Statement query(db, "SELECT Id, Stamm FROM M ORDER BY Id");
    ASSERT_TRUE(query.step());
    EXPECT_EQ(query.integer(0), first);
    EXPECT_FALSE(query.boolean(1));
    ASSERT_TRUE(query.step());
    EXPECT_TRUE(query.boolean(1));
}

TEST(ConnectionTest, TransactionRollsBackUnlessCommitted)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE t (x INTEGER)");
    {
        Transaction transaction(db);
        db.execute("INSERT INTO t VALUES (1)");
    }
    {
        Transaction transaction(db);
        db.execute("INSERT INTO t VALUES (2)");
        transaction.commit();
    }
    Statement query(db, "SELECT group_concat(x) FROM t");
    ASSERT_TRUE(query.step());
    EXPECT_EQ(query.text(0), "2");
    EXPECT_EQ(db.columns("T").size(), 1u);
    EXPECT_TRUE(db.columns("fehlt").empty());
}
