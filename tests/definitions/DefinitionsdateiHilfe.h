#pragma once

// Small definitions files for the tests: the current layout as the program creates it, and
// the older layout as the competition program wrote it before targets, calibre and age
// ranges were stored.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"
#include "definitions/WkAk.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testhilfe {

// A folder for the files, the scripted questions and the program's surroundings.
struct Umfeld
{
    TempFolder ordner;
    ScriptedQuestions fragen;
    definitions::Umgebung umgebung{ordner.path().string(), ordner.file("anwendungsdaten"), fragen};
    std::string pfad = ordner.file("wkak.zrv");

    definitions::Ausgang laden(definitions::Definitionen& d) { return definitions::WkAkLaden(d, pfad, umgebung); }

    std::vector<std::string> titel() const
    {
        std::vector<std::string> ergebnis;
        for (const auto& frage : fragen.asked)
            ergebnis.push_back(frage.title);
        return ergebnis;
    }
};

inline void ausfuehren(const std::string& pfad, const std::string& sql)
{
    clubdb::Connection::open(pfad).execute(sql);
}

inline std::string inhalt(const std::string& pfad)
{
    std::ifstream datei(pfad, std::ios::binary);
    return {std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>()};
}

inline std::vector<clubdb::ColumnInfo> spalten(const std::string& pfad, const std::string& tabelle)
{
    return clubdb::Connection::open(pfad, clubdb::OpenMode::ReadOnly).columns(tabelle);
}

// A discipline; the older layout stores its columns up to SpoNr, with a series name in BezSer1
// and blanks in the other names.
struct Zeile
{
    std::string name = "Luftgewehr";
    std::string spoNr = "1.10";
    int serien = 4;
    int zwSuNachSer = 0;
    std::string scheibe1 = "1";
    std::string scheibe2 = "0";
    std::string kaliber = "4.5";
};

inline std::string alteWerte(const Zeile& z)
{
    std::string werte = "'" + z.name + "', " + std::to_string(z.serien) + ", 10, 0, 0, 0, 0, " +
                        std::to_string(z.zwSuNachSer) + ", 'Serie 1 '";
    for (int k = 1; k < 18; ++k)
        werte += ", ' '";
    return werte + ", '" + z.spoNr + "'";
}

inline std::string disziplinSql(const Zeile& z)
{
    return "INSERT INTO Disziplinen VALUES (" + alteWerte(z) + ", " + z.scheibe1 + ", " + z.scheibe2 + ", " +
           z.kaliber + ", NULL);";
}

inline std::string alteDisziplinSql(const std::string& name, const std::string& spoNr)
{
    return "INSERT INTO Disziplinen VALUES (" + alteWerte({.name = name, .spoNr = spoNr, .serien = 3}) + ");";
}

// nr is an SQL value: a quoted text in the current layout, a number in a numeric column.
inline std::string klasseSql(const std::string& name, const std::string& nr, int von, int bis, bool weiblich, int rang)
{
    return "INSERT INTO Altersklassen VALUES ('" + name + "', " + nr + ", " + std::to_string(von) + ", " +
           std::to_string(bis) + ", " + (weiblich ? "1" : "0") + ", " + std::to_string(rang) + ");";
}

// A file of the current layout, created by the program itself.
inline void aktuelleDatei(Umfeld& u, const std::string& pfad, const std::string& sql = "")
{
    ASSERT_EQ(definitions::WkAkAnlegen(pfad, u.umgebung), definitions::Ausgang::Weiter);
    ASSERT_TRUE(u.fragen.asked.empty());
    if (!sql.empty())
        ausfuehren(pfad, sql);
}

// A file of the older layout: no targets, calibre or age ranges, class numbers as numbers.
// Its columns have no rules, as in the files of that time.
inline void aeltereDatei(const std::string& pfad, const std::string& sql = "")
{
    std::string bez;
    for (int k = 1; k <= 18; ++k)
        bez += (k <= 12 ? ", BezSer" + std::to_string(k) : ", BezZwSu" + std::to_string(k - 12)) + " VARCHAR(30)";
    clubdb::Connection::create(pfad).execute(
        "CREATE TABLE Disziplinen (Name VARCHAR(40), Serienanzahl SMALLINT, SchußProSerie SMALLINT, WertungsOption "
        "TINYINT, Finale BOOLEAN, FinalTeilnehmer TINYINT, FinalSchüsse TINYINT, ZwSuNachSer TINYINT" +
        bez + ", SpoNr VARCHAR(20)); CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr SMALLINT);" + sql);
}

} // namespace testhilfe
