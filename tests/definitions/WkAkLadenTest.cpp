#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <optional>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;

namespace {

// The question after a file could not be read.
std::string verbindungsfehler(const std::string& pfad)
{
    return "Zervik - Verbindungsfehler|Datei " + pfad +
           " konnte nicht geöffnet werden oder ist beschädigt!\r\nSoll eine leere Datei angelegt werden?|JaNein";
}

// Fills the discipline table (its first record repeated) up to anzahl records.
std::string mehrDisziplinen(int anzahl)
{
    return "WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(anzahl) +
           ") INSERT INTO Disziplinen SELECT d.* FROM Disziplinen d, n WHERE d.rowid = 1";
}

// Definitions as a previous load left them, to see what a load replaces.
Definitionen vorherGeladen()
{
    Definitionen d;
    d.disziplinen.eintraege.resize(2);
    d.disziplinen.eintraege[0].Name = d.disziplinen.eintraege[1].Name = d.klassen.eintraege[0].Name = "alt";
    d.disziplinen.anzahl = 2;
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
    EXPECT_EQ(beschreibungen(d.disziplinen),
              (Lines{"3", "KK-Sportgewehr 3x20|1.40|6|10|2|1|8|15|2|3|0|5.600|Serie 1|Serie 2||||||||||Serie 12|||Stehend|||",
                     "Luftgewehr|1.10|6|10|0|0|0|0|0|1|0|4.500|Serie 1" + kLeer,
                     "Luftgewehr|1.10|6|10|0|0|0|0|0|1|0|4.500|Serie 1" + kLeer}));
    EXPECT_EQ(beschreibungen(d.klassen),
              (Lines{"8", "A|1|21|40|w|3", "B|2|18|20|w|-1", "Mannschaft|90|0|99|m|101", "C|3|41|50|w|5",
                     "D|10|0|99|w|0", "E|5|51|60|w|3", "Vereinsmeister|91|0|99|w|120", "Herren|10|21|99|m|100"}));
    EXPECT_EQ(beschreibungen(d.frauen),
              (Lines{"5", "C|3|41|50|w|5", "A|1|21|40|w|3", "E|5|51|60|w|3", "D|10|0|99|w|0", "B|2|18|20|w|-1"}));
    EXPECT_EQ(beschreibungen(d.maenner), (Lines{"1", "Herren|10|21|99|m|100"}));
    EXPECT_EQ(readBytes(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));

    // Empty tables give empty lists with one empty entry.
    ausfuehren(u.pfad, "DELETE FROM Disziplinen; DELETE FROM Altersklassen");
    d = vorherGeladen();
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    for (const auto* liste : {&d.klassen, &d.frauen, &d.maenner})
        EXPECT_EQ(beschreibungen(*liste), (Lines{"0", "||0|0|m|0"}));
    EXPECT_EQ(beschreibungen(d.disziplinen), (Lines{"0", "||0|0|0|0|0|0|0|0|0|0.000|" + kLeer}));

    // Class numbers in a number column, but no class to carry over: nothing to rewrite.
    ausfuehren(u.pfad, "DROP TABLE Altersklassen; CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr SMALLINT, "
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
        {"", 0, 0, 4.5f}, {"L.G. 1*10", 0, 0, 4.5f}, {"1 .1 0", 1, 0, 4.5f},
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

    EXPECT_TRUE(u.fragen.asked.empty());
    ASSERT_EQ(d.disziplinen.anzahl, static_cast<std::int16_t>(faelle.size() + 3));
    for (std::size_t i = 0; i < faelle.size(); ++i) {
        const Disziplin& e = d.disziplinen.eintraege[i];
        EXPECT_EQ(std::tuple(e.SpoNr, e.ScheibeNr1, e.ScheibeNr2, e.Kaliber), faelle[i]);
    }
    EXPECT_EQ(beschreibungen(d.klassen), (Lines{"4", "Schützenklasse|10|10|99|m|0", "Jugend|10|10|99|m|1",
                                                "|20|10|99|m|2", "Senioren|5|10|99|m|3"}));
    EXPECT_EQ(readBytes(u.ordner.file("wkak.alt")), alteDatei);
    EXPECT_EQ(queryRows(u.pfad, "SELECT count(*) FROM pragma_table_info('Disziplinen')"), Lines{"31"});
    EXPECT_EQ(queryRows(u.pfad, "SELECT Name, BezSer1, BezSer2, Zehntel, (SELECT count(*) FROM Disziplinen), "
                                "(SELECT group_concat(KlassenNr, '|') FROM Altersklassen) "
                                "FROM Disziplinen WHERE SpoNr = '2.45 '"),
              Lines{"Disziplin 2.45 |Serie 1 | |NULL|28|10 |10 |5 "});
    EXPECT_EQ(queryRows(u.pfad, "SELECT Name FROM Disziplinen WHERE Name LIKE 'LL%'"), Lines{vierzig});

    // Loading the rewritten file gives the same entries, without the nameless ones, and rewrites nothing.
    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(readBytes(u.ordner.file("wkak.alt")), alteDatei);
    d.disziplinen.eintraege.resize(faelle.size() + 1);
    EXPECT_EQ(wieder.disziplinen.eintraege, d.disziplinen.eintraege);
    EXPECT_EQ(beschreibungen(wieder.klassen), (Lines{"3", "Schützenklasse|10|10|99|m|0", "Jugend|10|10|99|m|1",
                                                     "Senioren|5|10|99|m|3"}));
}

TEST(WkAkLaden, NumericClassNumbersAreReadAsTextAndTheFileIsRewritten)
{
    Umfeld u;
    clubdb::Connection::create(u.pfad).execute(
        "CREATE TABLE Disziplinen (Name VARCHAR(40)); CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr "
        "SMALLINT, KlasseVon SMALLINT, KlasseBis SMALLINT, KlasseWeibl BOOLEAN, KlassenRang SMALLINT);" +
        klasseSql("Damenklasse", "11", 21, 40, true, 4) + klasseSql("Offen", "0", 0, 99, false, 0) +
        klasseSql("Schüler", "-3", 12, 14, false, -3));
    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(beschreibungen(d.klassen),
              (Lines{"3", "Damenklasse|11|21|40|w|4", "Offen|10|0|99|m|0", "Schüler|-3|12|14|m|-3"}));
    EXPECT_TRUE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    EXPECT_EQ(queryRows(u.pfad, "SELECT group_concat(KlassenNr, '|') FROM Altersklassen"), Lines{"11 |10 |-3 "});
    EXPECT_EQ(queryRows(u.pfad, "SELECT type FROM pragma_table_info('Altersklassen') WHERE cid = 1"),
              Lines{"VARCHAR(22)"});
}

// Whatever does not fit ends the load: the tables keep what was read to their end, the class
// lists stay as the previous load left them, and the file stays as it is.
TEST(WkAkLaden, ValuesThatDoNotFitEndTheLoadWithTheQuestionToCreateAnEmptyFile)
{
    enum Datei { Aktuell, Aelter, Gesperrt };
    // clang-format off
    const std::vector<std::tuple<const char*, std::string, int, Datei>> faelle = {
        {"Byte über 255", "UPDATE Disziplinen SET WertungsOption = 256", 0, Aktuell},
        {"Byte unter 0", "UPDATE Disziplinen SET FinalTeilnehmer = -1 WHERE rowid = 2", 0, Aktuell},
        {"Name ohne Wert", "UPDATE Disziplinen SET Name = NULL WHERE rowid = 2", 0, Aktuell},
        {"Scheibe ohne Wert nach dem ersten", "UPDATE Disziplinen SET ScheibeNr2 = NULL WHERE rowid = 2", 0, Aktuell},
        {"Scheibe als Text", "UPDATE Disziplinen SET ScheibeNr2 = 'rund'", 0, Aktuell},
        {"Kaliber jenseits einer Gleitkommazahl", "UPDATE Disziplinen SET Kaliber = 1e300", 0, Aktuell},
        {"Spalte fehlt", "ALTER TABLE Disziplinen DROP COLUMN SpoNr", 0, Aktuell},
        {"Klassentabelle fehlt", "DROP TABLE Altersklassen", 2, Aktuell},
        {"Alter über 16 Bit", "UPDATE Altersklassen SET KlasseBis = 40000", 2, Aktuell},
        {"Klassennummer ohne Wert", "UPDATE Altersklassen SET KlassenNr = NULL", 2, Aktuell},
        {"SpO-Nr über 16 Bit im älteren Format", alteDisziplinSql("Unsinn", "327.68"), 0, Aelter},
        {"von Zervik gesperrt", "", 0, Gesperrt},
    };
    // clang-format on
    for (const auto& [beschreibung, sql, disziplinenGelesen, datei] : faelle) {
        SCOPED_TRACE(beschreibung);
        Umfeld u;
        if (datei == Aelter)
            aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + sql);
        else
            aktuelleDatei(u, u.pfad,
                          disziplinSql() + disziplinSql("Luftpistole", "2.10") +
                              klasseSql("Damenklasse", "'11'", 21, 40, true, 4) + sql);
        const std::string vorher = readBytes(u.pfad);
        std::optional<clubdb::Connection> halter;
        if (datei == Gesperrt) {
            halter.emplace(clubdb::Connection::open(u.pfad));
            halter->execute("BEGIN EXCLUSIVE; UPDATE Disziplinen SET Serienanzahl = 6;");
        }
        u.fragen.answers = {Answer::No};

        Definitionen d = vorherGeladen();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        EXPECT_EQ(u.gefragt(), Lines{verbindungsfehler(u.pfad)});
        EXPECT_EQ(std::tuple(d.disziplinen.anzahl, d.klassen.anzahl, d.frauen.eintraege[0].Name),
                  std::tuple(disziplinenGelesen, 0, "alt"));
        EXPECT_EQ(readBytes(u.pfad), vorher);
        EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    }
}

// The counts of the tables are 16-bit numbers: a table of 32767 records is loaded whole, one
// more ends the load.
TEST(WkAkLaden, ATableOf32767RecordsIsLoadedWhole)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql() + disziplinSql() + mehrDisziplinen(32767));
    Definitionen d;
    u.laden(d);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(std::pair(d.disziplinen.anzahl, d.disziplinen.eintraege.size()), std::pair(std::int16_t{32767}, 32767ul));
    ausfuehren(u.pfad, disziplinSql());
    u.fragen.answers = {Answer::No};
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_EQ(u.gefragt(), Lines{verbindungsfehler(u.pfad)});
    EXPECT_EQ(d.disziplinen.anzahl, 0);
}

// An unreadable file is replaced only after both questions are confirmed; nothing is reread at
// once, the next load finds the empty file.
TEST(WkAkLaden, AnUnreadableFileIsReplacedOnlyAfterBothQuestionsAreConfirmed)
{
    for (const auto& antworten :
         std::vector<std::vector<Answer>>{{Answer::No}, {Answer::Yes, Answer::Cancel}, {Answer::Yes, Answer::Ok}}) {
        SCOPED_TRACE(antworten.size());
        Umfeld u;
        std::ofstream(u.pfad) << "Protokoll der Jahreshauptversammlung";
        u.fragen.answers.assign(antworten.begin(), antworten.end());
        Definitionen d;
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        Lines erwartet{verbindungsfehler(u.pfad)};
        if (antworten.size() > 1)
            erwartet.push_back("Zervik - Sicherheitsabfrage|Achtung! Soll die vorhandene Datei " + u.pfad +
                               " überschrieben werden?|OkAbbrechen");
        EXPECT_EQ(u.gefragt(), erwartet);
        EXPECT_EQ(d.disziplinen.anzahl, 0);
        if (antworten.back() != Answer::Ok) {
            EXPECT_EQ(readBytes(u.pfad), "Protokoll der Jahreshauptversammlung");
            continue;
        }
        u.fragen.asked.clear();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        EXPECT_TRUE(u.fragen.asked.empty());
    }
}

// Without a path the first default file of the program folder is used; where there is none, its
// creation is offered, and on No the load fails as for an unreadable file.
TEST(WkAkLaden, WithoutAPathTheFirstDefaultFileOfTheProgramFolderIsUsed)
{
    // The program lies in bin/; installed, its sample lies in the data folder beside bin/.
    const std::string daten = std::filesystem::path("bin/" TVX_DATENORDNER_RELATIV).lexically_normal().string();
    const std::vector<Lines> faelle = {{"bin/wkak-lsv-st.zrv", "bin/wkakAllgem.zrv", "bin/wkak.zrv"},
                                       {"bin/wkakAllgem.zrv", "bin/wkak.zrv"},
                                       {"bin/wkak.zrv", "bin/WkAk.zrv"},
                                       {"bin/wkak.zrv", daten + "/wkak-lsv-st.zrv"},
                                       {daten + "/wkakAllgem.zrv", daten + "/wkak.zrv"},
                                       {daten + "/wkak.zrv"}};
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
        EXPECT_EQ(pfad, u.ordner.file(vorhanden[0]));
        EXPECT_EQ(d.disziplinen.eintraege[0].Name, vorhanden[0]);
        EXPECT_TRUE(u.fragen.asked.empty());
    }
    for (const bool anlegen : {false, true}) {
        SCOPED_TRACE(anlegen);
        Umfeld u;
        u.fragen.answers = {anlegen ? Answer::Yes : Answer::No, Answer::No};
        std::string pfad;
        Definitionen d = vorherGeladen();
        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);

        EXPECT_EQ(pfad, u.ordner.file("wkak.zrv"));
        Lines erwartet{"Zervik - fehlende Datei|Datei mit den Voreinstellungen der Klassen wurde nicht gefunden.\r\n"
                       "Soll eine leere Datei angelegt werden?|JaNein"};
        if (!anlegen)
            erwartet.push_back(verbindungsfehler(pfad));
        EXPECT_EQ(u.gefragt(), erwartet);
        EXPECT_EQ(std::tuple(d.disziplinen.anzahl, d.disziplinen.eintraege.size(), d.klassen.anzahl),
                  std::tuple(0, 1u, 0));
        EXPECT_EQ(std::filesystem::is_regular_file(pfad), anlegen);
    }
}
