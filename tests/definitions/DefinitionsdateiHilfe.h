#pragma once

// Small definitions files for the tests: the current layout as the program creates it, and
// the older layout as the competition program wrote it before targets, calibre and age
// ranges were stored.

#include "clubdb/Connection.h"
#include "definitions/WkAk.h"
#include "support/ExportFiles.h"
#include "support/QueryRows.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace testhilfe {

using Lines = std::vector<std::string>;

// A folder for the files, the scripted questions and the program's surroundings.
struct Umfeld
{
    TempFolder ordner;
    ScriptedQuestions fragen;
    definitions::Umgebung umgebung{ordner.path().string(), ordner.file("anwendungsdaten"), fragen};
    std::string pfad = ordner.file("wkak.zrv");

    definitions::Ausgang laden(definitions::Definitionen& d) { return definitions::WkAkLaden(d, pfad, umgebung); }

    // Every question asked as "title|text|buttons", the buttons as "Ok", "JaNein" or "OkAbbrechen".
    Lines gefragt() const
    {
        Lines ergebnis;
        for (const auto& frage : fragen.asked)
            ergebnis.push_back(frage.title + "|" + frage.text + "|" +
                               std::array{"Ok", "JaNein", "OkAbbrechen"}[static_cast<int>(frage.buttons)]);
        return ergebnis;
    }
};

// A discipline record with a series name in BezSer1 and blanks in the other names; the current
// layout adds targets, calibre and Zehntel (neu), the older one ends after the SpO-Nr.
inline std::string disziplinSql(const std::string& name = "Luftgewehr", const std::string& spoNr = "1.10",
                                int serien = 4, int zwSuNachSer = 0, const std::string& neu = ", 1, 0, 4.5, NULL")
{
    std::string werte = "'" + name + "', " + std::to_string(serien) + ", 10, 0, 0, 0, 0, " +
                        std::to_string(zwSuNachSer) + ", 'Serie 1 '";
    for (int k = 1; k < 18; ++k)
        werte += ", ' '";
    return "INSERT INTO Disziplinen VALUES (" + werte + ", '" + spoNr + "'" + neu + ");";
}

inline std::string alteDisziplinSql(const std::string& name, const std::string& spoNr)
{
    return disziplinSql(name, spoNr, 3, 0, "");
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
    clubdb::Connection::open(pfad).execute(sql); // an empty text changes nothing
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

// A discipline as one text: its numbers, then its texts, each group "|"-joined.
inline std::string beschreibung(const definitions::Disziplin& d)
{
    std::string s = d.Name + "|" + d.SpoNr;
    for (const int zahl : {d.SerienAnzahl, d.SchussProSerie, d.WertungsOption, std::uint8_t(d.Finale),
                           d.FinalTeilnehmer, d.FinalSchuesse, d.ZwSuNachSer, d.ScheibeNr1, d.ScheibeNr2})
        s += "|" + std::to_string(zahl);
    s += "|" + std::to_string(d.Kaliber).substr(0, 5);
    for (const std::string& bez : d.BezSer)
        s += "|" + bez;
    for (const std::string& bez : d.BezZwSu)
        s += "|" + bez;
    return s;
}

// A class as "name|number|from|to|w or m|rank".
inline std::string beschreibung(const definitions::Altersklasse& k)
{
    return k.Name + "|" + k.KlassenNr + "|" + std::to_string(k.KlasseVon) + "|" + std::to_string(k.KlasseBis) + "|" +
           (k.KlasseWeibl ? "w" : "m") + "|" + std::to_string(k.KlassenRang);
}

template <typename Eintrag> Lines beschreibungen(const definitions::Tabelle<Eintrag>& tabelle)
{
    Lines ergebnis{std::to_string(tabelle.anzahl)};
    for (const Eintrag& e : tabelle.eintraege)
        ergebnis.push_back(beschreibung(e));
    return ergebnis;
}

} // namespace testhilfe
