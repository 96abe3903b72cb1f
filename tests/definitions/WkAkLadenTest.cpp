#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <functional>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;

namespace {

// Definitions as a previous load left them, to see what a load replaces.
Definitionen vorherGeladen()
{
    Definitionen d;
    d.disziplinen = {std::vector(2, d.disziplinen.eintraege[0]), 2};
    d.disziplinen.eintraege[0].Name = d.disziplinen.eintraege[1].Name = d.klassen.eintraege[0].Name = "alt";
    d.klassen.anzahl = 1;
    d.frauen = d.maenner = d.klassen;
    return d;
}

const std::string kLeer(17, '|'); // the names after the first

} // namespace

// Texts are trimmed, class number 0 is the general class 10; a subtotal is kept only when the
// series divide into whole groups. The class lists hold the classes below rank 101, highest
// rank first. A file of the current layout is neither rewritten nor backed up.
TEST(WkAkLaden, ReadsAFileOfTheCurrentLayoutAsItIs)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad,
                  disziplinSql("  KK-Sportgewehr 3x20 ", " 1.40 ", 6, 2, ", 3, 0, 5.6, NULL") +
                      "UPDATE Disziplinen SET WertungsOption = 2, Finale = 1, FinalTeilnehmer = 8, FinalSchüsse = 15, "
                      "BezSer2 = ' Serie 2 ', BezSer12 = 'Serie 12', BezZwSu3 = 'Stehend ';" +
                      disziplinSql("Luftgewehr", "1.10", 6, 4) + disziplinSql("Luftgewehr", "1.10", 6, 0) +
                      klasseSql(" A ", "' 1 '", 21, 40, true, 3) + klasseSql("B", "'2'", 18, 20, true, -1) +
                      klasseSql("Mannschaft", "'90'", 0, 99, false, 101) + klasseSql("C", "'3'", 41, 50, true, 5) +
                      klasseSql("D", "'0'", 0, 99, true, 0) + klasseSql("E", "'5'", 51, 60, true, 3) +
                      klasseSql("Vereinsmeister", "'91'", 0, 99, true, 120) +
                      klasseSql("Herren", "'10'", 21, 99, false, 100));
    const std::string vorher = readBytes(u.pfad);

    Definitionen d = vorherGeladen();
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(
        (std::vector{beschreibungen(d.disziplinen), beschreibungen(d.klassen), beschreibungen(d.frauen),
                     beschreibungen(d.maenner)}),
        (std::vector<Lines>{
            {"3", "KK-Sportgewehr 3x20|1.40|6|10|2|1|8|15|2|3|0|5.600|Serie 1|Serie 2||||||||||Serie 12|||Stehend|||",
             "Luftgewehr|1.10|6|10|0|0|0|0|0|1|0|4.500|Serie 1" + kLeer,
             "Luftgewehr|1.10|6|10|0|0|0|0|0|1|0|4.500|Serie 1" + kLeer},
            {"8", "A|1|21|40|w|3", "B|2|18|20|w|-1", "Mannschaft|90|0|99|m|101", "C|3|41|50|w|5", "D|10|0|99|w|0",
             "E|5|51|60|w|3", "Vereinsmeister|91|0|99|w|120", "Herren|10|21|99|m|100"},
            {"5", "C|3|41|50|w|5", "A|1|21|40|w|3", "E|5|51|60|w|3", "D|10|0|99|w|0", "B|2|18|20|w|-1"},
            {"1", "Herren|10|21|99|m|100"}}));
    EXPECT_EQ(readBytes(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));

    // Class numbers in a number column, but no class to carry over: nothing to rewrite.
    clubdb::Connection::open(u.pfad).execute(
        "DROP TABLE Altersklassen; CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr SMALLINT, "
        "KlasseVon SMALLINT, KlasseBis SMALLINT, KlasseWeibl BOOLEAN, KlassenRang SMALLINT);");
    const std::string leer = readBytes(u.pfad);
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_EQ(readBytes(u.pfad), leer);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
}

// The older layout had no targets and calibre, derived from the SpO-Nr, and no age ranges: every
// class is open to every age, ranked by its place. The file is rewritten in the current layout,
// texts trimmed plus one blank and the nameless records left out; the old one is the backup.
TEST(WkAkLaden, AFileOfTheOlderLayoutGetsDerivedTargetsAndIsRewrittenWithABackup)
{
    // clang-format off
    const std::vector<std::tuple<std::string, int, int, float>> faelle = {
        {"1.10", 1, 0, 4.5f}, {"1.20", 1, 0, 4.5f}, {"1.30", 2, 0, 4.65f}, {"1.35", 5, 0, 5.6f}, {"1.40", 3, 0, 5.6f},
        {"1.50", 5, 0, 8.0f}, {"1.56", 3, 0, 11.63f}, {"1.57", 5, 0, 11.63f}, {"1.58 O", 5, 0, 8.0f},
        {"1.58 G", 5, 0, 8.0f}, {"1.59", 5, 0, 8.0f}, {"1.60", 3, 0, 5.6f}, {"1.70", 5, 0, 8.0f}, {"1.80", 3, 0, 5.6f},
        {"1.90", 5, 0, 8.0f}, {"2.10", 4, 0, 4.5f}, {"2.20", 5, 0, 5.6f}, {"2.30", 6, 0, 5.6f}, {"2.31", 6, 0, 5.6f},
        {"2.40", 5, 6, 5.6f}, {"2.41", 5, 6, 5.6f}, {"2.45", 5, 6, 9.65f}, {"2.50", 5, 0, 11.0f}, {"1.11", 0, 0, 4.5f},
        {"", 0, 0, 4.5f}, {"L.G. 1*10", 0, 0, 4.5f}, {"1 .1 0", 1, 0, 4.5f}, {"327.67", 0, 0, 4.5f},
    };
    // clang-format on
    Umfeld u;
    std::string sql;
    for (const auto& f : faelle)
        sql += alteDisziplinSql("Disziplin " + std::get<0>(f), std::get<0>(f));
    const std::string vierzig(40, 'L'); // fills its column: kept without the blank
    sql += alteDisziplinSql(" " + vierzig + " ", "1.10");
    sql += alteDisziplinSql("   ", "9.99") + alteDisziplinSql("", "9.98"); // no name: not carried over
    sql += "INSERT INTO Altersklassen VALUES ('Schützenklasse', 10), (' Jugend ', 0), ('', 20), ('Senioren', 5);";
    aeltereDatei(u.pfad, sql);
    const std::string alteDatei = readBytes(u.pfad);
    std::ofstream(u.ordner.file("wkak.alt")) << "Sicherung von gestern";

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    ASSERT_EQ(d.disziplinen.anzahl, static_cast<std::int16_t>(faelle.size() + 3));
    for (std::size_t i = 0; i < faelle.size(); ++i) {
        const Disziplin& e = d.disziplinen.eintraege[i];
        EXPECT_EQ(std::tuple(e.SpoNr, e.ScheibeNr1, e.ScheibeNr2, e.Kaliber), faelle[i]);
    }
    EXPECT_EQ(beschreibungen(d.klassen), (Lines{"4", "Schützenklasse|10|10|99|m|0", "Jugend|10|10|99|m|1",
                                                "|20|10|99|m|2", "Senioren|5|10|99|m|3"}));
    EXPECT_EQ(readBytes(u.ordner.file("wkak.alt")), alteDatei);
    EXPECT_EQ(queryRows(u.pfad, "SELECT (SELECT count(*) FROM pragma_table_info('Disziplinen')), Name, BezSer1, "
                                "BezSer2, Zehntel, (SELECT count(*) FROM Disziplinen), (SELECT group_concat(KlassenNr, "
                                "'|') FROM Altersklassen), (SELECT Name FROM Disziplinen WHERE Name LIKE 'LL%') "
                                "FROM Disziplinen WHERE SpoNr = '2.45 '"),
              Lines{"31|Disziplin 2.45 |Serie 1 | |NULL|29|10 |10 |5 |" + vierzig});

    // Loading the rewritten file gives the same entries, without the nameless ones, and rewrites nothing.
    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty()); // neither load asked anything
    EXPECT_EQ(readBytes(u.ordner.file("wkak.alt")), alteDatei);
    d.disziplinen.eintraege.resize(faelle.size() + 1);
    EXPECT_EQ(wieder.disziplinen.eintraege, d.disziplinen.eintraege);
    EXPECT_EQ(beschreibungen(wieder.klassen),
              (Lines{"3", "Schützenklasse|10|10|99|m|0", "Jugend|10|10|99|m|1", "Senioren|5|10|99|m|3"}));
}

// Whatever cannot be read or does not fit ends the load with the question to create an empty
// file: the tables keep what was read to their end, the class lists stay as the previous load
// left them, and the file stays exactly as it is unless both questions are confirmed. The empty
// file that replaces it then is not reread at once; the next load finds it.
TEST(WkAkLaden, WhatCannotBeReadEndsTheLoadAndIsReplacedOnlyAfterBothQuestions)
{
    using Schaden = std::function<void(const std::string&)>;
    const auto sql = [](const std::string& befehl) -> Schaden {
        return [befehl](const std::string& p) { clubdb::Connection::open(p).execute(befehl); };
    };
    const auto cut = [](std::intmax_t size) -> Schaden {
        return [size](const std::string& p) {
            std::filesystem::resize_file(p, size >= 0 ? size : std::filesystem::file_size(p) + size);
        };
    };
    const Schaden fremd = [](const std::string& p) { std::ofstream(p) << "Protokoll der Jahreshauptversammlung"; };
    const Schaden aelter = [](const std::string& p) {
        std::filesystem::remove(p);
        aeltereDatei(p, alteDisziplinSql("Luftgewehr", "1.10") + alteDisziplinSql("Unsinn", "327.68"));
    };
    const std::vector<Answer> nein{Answer::No};
    // what happened to the file, the disciplines read (-1: not looked at), the answers
    // clang-format off
    const std::vector<std::tuple<const char*, Schaden, int, std::vector<Answer>>> faelle = {
        {"Name ohne Wert", sql("UPDATE Disziplinen SET Name = NULL WHERE rowid = 2"), 0, nein},
        {"Scheibe ohne Wert nach dem ersten", sql("UPDATE Disziplinen SET ScheibeNr2 = NULL WHERE rowid = 2"), 0, nein},
        {"Scheibe als Text", sql("UPDATE Disziplinen SET ScheibeNr2 = 'rund'"), 0, nein},
        {"Kaliber mit Einheit", sql("UPDATE Disziplinen SET Kaliber = '4.5 mm'"), 0, nein},
        {"Spalte fehlt", sql("ALTER TABLE Disziplinen DROP COLUMN SpoNr"), 0, nein},
        {"Klassentabelle fehlt", sql("DROP TABLE Altersklassen"), 2, nein},
        {"Klassennummer ohne Wert", sql("UPDATE Altersklassen SET KlassenNr = NULL"), 2, nein},
        {"SpO-Nr über 16 Bit im älteren Format", aelter, 0, nein}, {"kein SQLite", fremd, 0, nein},
        {"leer", cut(0), -1, nein}, {"im Kopf abgeschnitten", cut(60), -1, nein},
        {"nach der ersten Seite abgeschnitten", cut(4096), -1, nein},
        {"in der letzten Seite abgeschnitten", cut(-1000), -1, nein},
        {"Ersetzen abgebrochen", fremd, 0, {Answer::Yes, Answer::Cancel}}, {"ersetzt", fremd, 0, {Answer::Yes, Answer::Ok}}};
    // clang-format on
    for (const auto& [name, beschaedigen, disziplinenGelesen, antworten] : faelle) {
        SCOPED_TRACE(name);
        Umfeld u;
        aktuelleDatei(u, u.pfad,
                      disziplinSql() + disziplinSql("Luftpistole", "2.10") +
                          klasseSql("Damenklasse", "'11'", 21, 40, true, 4));
        beschaedigen(u.pfad);
        const std::string vorher = readBytes(u.pfad);
        u.fragen.answers.assign(antworten.begin(), antworten.end());

        Definitionen d = vorherGeladen();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        Lines erwartet{
            "Zervik - Verbindungsfehler|Datei " + u.pfad +
            " konnte nicht geöffnet werden oder ist beschädigt!\r\nSoll eine leere Datei angelegt werden?|JaNein"};
        if (antworten.size() > 1)
            erwartet.push_back("Zervik - Sicherheitsabfrage|Achtung! Soll die vorhandene Datei " + u.pfad +
                               " überschrieben werden?|OkAbbrechen");
        if (disziplinenGelesen >= 0) {
            EXPECT_EQ(std::tuple(d.disziplinen.anzahl, d.klassen.anzahl, d.frauen.eintraege[0].Name),
                      std::tuple(disziplinenGelesen, 0, "alt"));
        }
        EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
        if (antworten.back() == Answer::Ok) { // the next load reads the empty file and asks nothing more
            EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        } else {
            EXPECT_TRUE(readBytes(u.pfad) == vorher); // not EXPECT_EQ: a failure would print the bytes
        }
        EXPECT_EQ(u.gefragt(), erwartet);
    }
}

// Every number loads up to the limits of its type; one unit beyond is a value that does not fit
// and ends the load with the question of the error step: bytes 0 to 255, 16-bit numbers -32768
// to 32767 (class numbers in a number column too), a Single up to its largest value, and at most
// 32767 records a table, since the counts are 16-bit numbers.
TEST(WkAkLaden, NumbersLoadUpToTheLimitsOfTheirTypes)
{
    // the change with "#" for the value, the value at the limit, one unit beyond, what is loaded
    // clang-format off
    const std::tuple<std::string, const char*, const char*, const char*> grenzen[] = {
        {"UPDATE Disziplinen SET WertungsOption = #", "255", "256", "|4|10|255|"},
        {"UPDATE Disziplinen SET SchußProSerie = #", "0", "-1", "|4|0|0|"},
        {"UPDATE Altersklassen SET KlasseVon = #", "-32768", "-32769", "|11|-32768|40|"},
        {"UPDATE Altersklassen SET KlassenRang = #", "32767", "32768", "|w|32767"},
        {"UPDATE Disziplinen SET Kaliber = #", "3.4028234663852886e38", "3.4028236e38", "|1|0|34028|"},
        {"UPDATE Disziplinen SET Kaliber = #", "-3.4028234663852886e38", "-3.4028236e38", "|1|0|-3402|"},
        {"DROP TABLE Altersklassen; CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr SMALLINT, KlasseVon "
         "SMALLINT, KlasseBis SMALLINT, KlasseWeibl BOOLEAN, KlassenRang SMALLINT); INSERT INTO Altersklassen VALUES "
         "('Damenklasse', #, 21, 40, 1, 4)", "-32768", "-32769", "|Damenklasse|-32768|"},
        {"WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < #) "
         "INSERT INTO Altersklassen SELECT k.* FROM Altersklassen k, n WHERE k.rowid = 1", "32767", "32768", "|32767|"}};
    // clang-format on
    const std::string datei = disziplinSql() + klasseSql("Damenklasse", "'11'", 21, 40, true, 4);
    for (const auto& [aenderung, amRand, drueber, geladen] : grenzen) {
        for (const char* wert : {amRand, drueber}) {
            SCOPED_TRACE(aenderung + ": " + wert);
            Umfeld u;
            std::string sql = aenderung;
            aktuelleDatei(u, u.pfad, datei + sql.replace(sql.find('#'), 1, wert));
            u.fragen.answers = {Answer::No};
            Definitionen d;
            EXPECT_EQ(u.laden(d), Ausgang::Weiter);
            const std::string text = beschreibung(d.disziplinen.eintraege[0]) + "|" + std::to_string(d.klassen.anzahl) +
                                     "|" + beschreibung(d.klassen.eintraege[0]);
            EXPECT_EQ(text.find(geladen) != std::string::npos, wert == amRand) << text;
            EXPECT_EQ(u.gefragt().size() == 1 && u.gefragt()[0].starts_with("Zervik - Verbindungsfehler|"),
                      wert != amRand);
        }
    }
}

// Without a path the first default file of the program folder is used (where there is none, its
// creation is offered, as the run tests see).
TEST(WkAkLaden, WithoutAPathTheFirstDefaultFileOfTheProgramFolderIsUsed)
{
    // The program lies in bin/; installed, its sample lies in the data folder beside bin/.
    const std::string daten = std::filesystem::path("bin/" TVX_DATENORDNER_RELATIV).lexically_normal().string();
    // clang-format off
    const std::vector<Lines> faelle = {
        {"bin/wkak-lsv-st.zrv", "bin/wkakAllgem.zrv", "bin/wkak.zrv"}, {"bin/wkakAllgem.zrv", "bin/wkak.zrv"},
        {"bin/wkak.zrv", "bin/WkAk.zrv"}, {"bin/wkak.zrv", daten + "/wkak-lsv-st.zrv"},
        {daten + "/wkakAllgem.zrv", daten + "/wkak.zrv"}, {daten + "/wkak.zrv"}};
    // clang-format on
    for (const auto& vorhanden : faelle) {
        Umfeld u;
        u.umgebung.programmOrdner = u.ordner.file("bin");
        for (const std::string& name : vorhanden) {
            std::filesystem::create_directories(std::filesystem::path(u.ordner.file(name)).parent_path());
            aktuelleDatei(u, u.ordner.file(name), disziplinSql(name));
        }
        std::string pfad;
        Definitionen d;
        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);
        EXPECT_EQ(std::tuple(pfad, d.disziplinen.eintraege[0].Name, u.fragen.asked.size()),
                  std::tuple(u.ordner.file(vorhanden[0]), vorhanden[0], 0u));
    }
}
