#include "clubdb/DatenbankErstellen.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "support/ErrorNumber.h"
#include "support/QueryRows.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace clubdb;
using Lines = std::vector<std::string>;

TEST(DatenbankErstellenTest, CreatesExactlyTheClubDatabaseLayout)
{
    TempFolder folder;
    const std::string path = folder.file("Verein.vdb");
    std::ofstream(path) << "alter Inhalt"; // an existing file is replaced
    DatenbankErstellen(path);
    Connection db = Connection::open(path);
    std::string layout;
    for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
        layout += std::string(table) + ":";
        for (const ColumnInfo& column : db.columns(table))
            layout += " " + column.name + " " + column.declaredType + ",";
    }
    EXPECT_EQ(layout,
              "Vereinsliste: VereinsID INTEGER, Ort VARCHAR(42), Vereinsname VARCHAR(72), VereinsAbk VARCHAR(26), "
              "Vorsitzender VARCHAR(42), GStraße VARCHAR(42), GPlz VARCHAR(12), GOrt VARCHAR(42), GTel VARCHAR(62), "
              "GeMail VARCHAR(62), GHomePage VARCHAR(62), AName VARCHAR(42), AFunktion VARCHAR(42), AStraße "
              "VARCHAR(42), APlz VARCHAR(12), AOrt VARCHAR(42), ATel VARCHAR(62), AeMail VARCHAR(62), VNummer "
              "VARCHAR(22), GName VARCHAR(42), V_update BOOLEAN,"
              "Schuetzendaten: M_ID INTEGER, M_Titel VARCHAR(21), M_Vorname VARCHAR(21), M_Name VARCHAR(21), M_GebDat "
              "DATETIME, M_Weiblich BOOLEAN, M_Straße VARCHAR(42), M_Plz VARCHAR(12), M_Ort VARCHAR(42), M_Tel "
              "VARCHAR(62), M_Mail VARCHAR(62), M_Hochmeld VARCHAR(22), M_Bemerk VARCHAR(52), M_Bild VARCHAR(255), "
              "M_Hilfsmittel VARCHAR(72), M_update BOOLEAN,"
              "Mitgliedschaft: Mgl_ID INTEGER, Mgl_Schütze_ID INTEGER, Mgl_Verein_ID INTEGER, Mgl_MglNr VARCHAR(21), "
              "Mgl_Eintritt DATETIME, Mgl_Stamm BOOLEAN, Mgl_Pass BOOLEAN, Mgl_update BOOLEAN,"
              "StartBerecht: StB_ID INTEGER, StB_Mgl_ID INTEGER, StB_SpO_Nr VARCHAR(20), StB_SpO_Bez VARCHAR(40), "
              "StB_update BOOLEAN,");
    // A text field never holds an empty text, and no more characters than its size.
    RecordInserter person(db, "Schuetzendaten", {"M_Name", "M_Vorname"});
    const std::string twentyOne = "Äöüßäöüßäöüßäöüßäöüß "; // 21 characters, 41 bytes
    EXPECT_EQ(person.insert({twentyOne, std::string("Anna ")}), 1);
    EXPECT_EQ(person.insert({std::string("Huber "), std::monostate()}), 2);
    for (const std::string& refused : {std::string(), twentyOne + "x"}) // 275: SQLite's CHECK constraint failed
        EXPECT_EQ(errorNumber([&] { person.insert({refused, std::string("Anna ")}); }), 275) << refused;
    EXPECT_EQ(queryRows(db, "SELECT count(*), max(M_ID) FROM Schuetzendaten"), Lines{"2|2"});
}

// Where the database cannot be made, nothing is left behind, and the number tells the window's
// message whether the place is locked or forbidden.
TEST(DatenbankErstellenTest, FailsWithTheEnginesNumberLeavingNothingBehind)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "Ordner.vdb");
    const std::pair<std::string, int> rows[] = {
        {folder.file("gibt-es-nicht/Neu.vdb"), fehler::kUngueltigerPfad},
        {folder.file("Ordner.vdb"), fehler::kDateiNichtLoeschbar},
        {"/sys/kernel/tvx.vdb", fehler::kDateiGesperrt},                    // cannot be created, not even by root
        {"/proc/version", fehler::kDateiGesperrt},                          // cannot be deleted, not even by root
        {folder.file(std::string(300, 'x')), fehler::kDateiNichtLoeschbar}, // any other failure is no lock
    };
    for (const auto& [path, number] : rows)
        EXPECT_EQ(errorNumber([&] { DatenbankErstellen(path); }), number) << path;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "gibt-es-nicht"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Ordner.vdb"));
}
