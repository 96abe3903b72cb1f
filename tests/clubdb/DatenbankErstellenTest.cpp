#include "clubdb/DatenbankErstellen.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace clubdb;

namespace {

// "name TYPE" for every column, read back from the file itself.
std::vector<std::string> columnsOf(Connection& db, const std::string& table)
{
    std::vector<std::string> result;
    for (const ColumnInfo& column : db.columns(table))
        result.push_back(column.name + " " + column.declaredType);
    return result;
}

// "index: field, field" for every index of a table, in the order of creation.
std::vector<std::string> indexesOf(Connection& db, const std::string& table)
{
    std::vector<std::string> result;
    Statement list(db, "SELECT name, \"unique\" FROM pragma_index_list(?) WHERE origin = 'c' ORDER BY seq DESC");
    list.bind(1, table);
    while (list.step()) {
        std::string entry = list.text(0) + (list.integer(1) ? " UNIQUE" : "") + ":";
        Statement fields(db, "SELECT name FROM pragma_index_info(?) ORDER BY seqno");
        fields.bind(1, list.text(0));
        while (fields.step())
            entry += " " + fields.text(0);
        result.push_back(entry);
    }
    return result;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(DatenbankErstellenTest, CreatesExactlyTheClubDatabaseLayout)
{
    TempFolder folder;
    const std::string path = folder.file("Verein.vdb");
    DatenbankErstellen(path);
    Connection db = Connection::open(path);

    EXPECT_EQ(columnsOf(db, "Vereinsliste"),
              (Lines{"VereinsID INTEGER",     "Ort VARCHAR(42)",       "Vereinsname VARCHAR(72)", "VereinsAbk VARCHAR(26)",
                     "Vorsitzender VARCHAR(42)", "GStraße VARCHAR(42)", "GPlz VARCHAR(12)",        "GOrt VARCHAR(42)",
                     "GTel VARCHAR(62)",      "GeMail VARCHAR(62)",    "GHomePage VARCHAR(62)",   "AName VARCHAR(42)",
                     "AFunktion VARCHAR(42)", "AStraße VARCHAR(42)",   "APlz VARCHAR(12)",        "AOrt VARCHAR(42)",
                     "ATel VARCHAR(62)",      "AeMail VARCHAR(62)",    "VNummer VARCHAR(22)",     "GName VARCHAR(42)",
                     "V_update BOOLEAN"}));
    EXPECT_EQ(columnsOf(db, "Schuetzendaten"),
              (Lines{"M_ID INTEGER", "M_Titel VARCHAR(21)", "M_Vorname VARCHAR(21)", "M_Name VARCHAR(21)",
                     "M_GebDat DATETIME", "M_Weiblich BOOLEAN", "M_Straße VARCHAR(42)", "M_Plz VARCHAR(12)",
                     "M_Ort VARCHAR(42)", "M_Tel VARCHAR(62)", "M_Mail VARCHAR(62)", "M_Hochmeld VARCHAR(22)",
                     "M_Bemerk VARCHAR(52)", "M_Bild VARCHAR(255)", "M_Hilfsmittel VARCHAR(72)", "M_update BOOLEAN"}));
    EXPECT_EQ(columnsOf(db, "Mitgliedschaft"),
              (Lines{"Mgl_ID INTEGER", "Mgl_Schütze_ID INTEGER", "Mgl_Verein_ID INTEGER", "Mgl_MglNr VARCHAR(21)",
                     "Mgl_Eintritt DATETIME", "Mgl_Stamm BOOLEAN", "Mgl_Pass BOOLEAN", "Mgl_update BOOLEAN"}));
    EXPECT_EQ(columnsOf(db, "StartBerecht"), (Lines{"StB_ID INTEGER", "StB_Mgl_ID INTEGER", "StB_SpO_Nr VARCHAR(20)",
                                                     "StB_SpO_Bez VARCHAR(40)", "StB_update BOOLEAN"}));

    EXPECT_EQ(indexesOf(db, "Vereinsliste"), (Lines{"IdxVNr: VNummer", "IdxOrt: Ort", "IdxAbk: VereinsAbk"}));
    EXPECT_EQ(indexesOf(db, "Schuetzendaten"), (Lines{"IdxNamen: M_Name M_Vorname"}));
    EXPECT_EQ(indexesOf(db, "Mitgliedschaft"),
              (Lines{"IdxSchID: Mgl_Schütze_ID", "IdxVereinID: Mgl_Verein_ID", "IdxMglNr: Mgl_MglNr"}));
    EXPECT_EQ(indexesOf(db, "StartBerecht"), (Lines{"IdxVSID: StB_Mgl_ID"}));

    // The keys count up by themselves and are never reused.
    Statement autoKeys(db, "SELECT count(*) FROM sqlite_schema WHERE sql LIKE '%PRIMARY KEY AUTOINCREMENT%'");
    ASSERT_TRUE(autoKeys.step());
    EXPECT_EQ(autoKeys.integer(0), 4);

    for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
        Statement count(db, std::string("SELECT count(*) FROM ") + table);
        ASSERT_TRUE(count.step());
        EXPECT_EQ(count.integer(0), 0) << table;
    }
}

TEST(DatenbankErstellenTest, TextFieldsRefuseEmptyAndTooLongTexts)
{
    TempFolder folder;
    const std::string path = folder.file("Verein.vdb");
    DatenbankErstellen(path);
    Connection db = Connection::open(path);
    RecordInserter person(db, "Schuetzendaten", {"M_Name", "M_Vorname"});

    const std::string twentyOne = "Äöüßäöüßäöüßäöüßäöüß ";       // 21 characters, 41 bytes
    const std::string twentyTwo = "Äöüßäöüßäöüßäöüßäöüßx ";      // 22 characters
    EXPECT_EQ(person.insert({twentyOne, std::string("Anna ")}), 1); // read at once, right after storing
    EXPECT_EQ(person.insert({std::string("Huber "), std::monostate()}), 2);

    const auto refused = [&](const std::string& name) {
        try {
            person.insert({name, std::string("Anna ")});
        } catch (const DbError& e) {
            return e.number() == 275; // SQLite: CHECK constraint failed
        }
        return false;
    };
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused(twentyTwo));

    Statement count(db, "SELECT count(*), max(M_ID) FROM Schuetzendaten");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 2);
    EXPECT_EQ(count.integer(1), 2);
}

TEST(DatenbankErstellenTest, ReplacesAnExistingFileAndFailsInAMissingFolder)
{
    TempFolder folder;
    const std::string path = folder.file("Alt.vdb");
    std::ofstream(path) << "alter Inhalt";
    DatenbankErstellen(path);
    Connection db = Connection::open(path);
    EXPECT_EQ(db.columns("Vereinsliste").size(), 21u);
    db.close();

    const std::string missing = folder.file("gibt-es-nicht/Neu.vdb");
    try {
        DatenbankErstellen(missing);
        FAIL() << "a club database was created in a missing folder";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), fehler::kUngueltigerPfad);
        EXPECT_FALSE(e.description().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "gibt-es-nicht"));

    std::filesystem::create_directory(folder.path() / "Ordner.vdb");
    EXPECT_THROW(DatenbankErstellen(folder.file("Ordner.vdb")), DbError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Ordner.vdb"));
}
