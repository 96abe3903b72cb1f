#include "DefinitionsdateiHilfe.h"

#include "clubdb/Connection.h"
#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <optional>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;
using questions::Buttons;

namespace {

std::string verbindungsfehlerText(const std::string& pfad)
{
    return "Datei " + pfad +
           " konnte nicht geöffnet werden oder ist beschädigt!\r\n"
           "Soll eine leere Datei angelegt werden?";
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
    d.disziplinen.eintraege[0].Name = d.disziplinen.eintraege[1].Name = "alt";
    d.disziplinen.anzahl = 2;
    d.klassen.eintraege[0].Name = "alt";
    d.klassen.anzahl = 1;
    d.frauen = d.maenner = d.klassen;
    return d;
}

} // namespace

TEST(WkAkLaden, ReadsAFileOfTheCurrentLayoutAsItIs)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad,
                  disziplinSql({"  KK-Sportgewehr 3x20 ", " 1.40 ", 6, 2, "3", "0", "5.6"}) +
                      "UPDATE Disziplinen SET WertungsOption = 2, Finale = 1, FinalTeilnehmer = 8, FinalSchüsse = 15, "
                      "BezSer2 = ' Serie 2 ', BezSer12 = 'Serie 12', BezZwSu3 = 'Stehend ';" +
                      klasseSql(" Damenklasse ", "' 11 '", 21, 40, true, 4) +
                      klasseSql("Offen", "'0'", 0, 99, false, 0));
    const std::string vorher = inhalt(u.pfad);

    Definitionen d = vorherGeladen();
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(d.disziplinen.anzahl, 1);
    // Name, SpoNr, series, shots, scoring, final, finalists, final shots, subtotal, names, targets, calibre.
    EXPECT_EQ(d.disziplinen.eintraege,
              (std::vector<Disziplin>{{"KK-Sportgewehr 3x20",
                                       "1.40",
                                       6,
                                       10,
                                       2,
                                       true,
                                       8,
                                       15,
                                       2,
                                       {"Serie 1", "Serie 2", "", "", "", "", "", "", "", "", "", "Serie 12"},
                                       {"", "", "Stehend", "", "", ""},
                                       3,
                                       0,
                                       5.6f}}));
    EXPECT_EQ(d.klassen.anzahl, 2);
    EXPECT_EQ(d.klassen.eintraege, (std::vector<Altersklasse>{{"Damenklasse", "11", 21, 40, true, 4},
                                                              {"Offen", "10", 0, 99, false, 0}})); // general class
    // A file of the current layout is neither rewritten nor backed up.
    EXPECT_EQ(inhalt(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
}

TEST(WkAkLaden, AFileOfTheOlderLayoutGetsDerivedTargetsAndIsRewrittenWithABackup)
{
    struct Fall
    {
        std::string spoNr;
        int scheibe1;
        int scheibe2;
        float kaliber;
    };
    const std::vector<Fall> faelle = {
        {"1.10", 1, 0, 4.5f},   {"1.20", 1, 0, 4.5f},      {"1.30", 2, 0, 4.65f},   {"1.35", 5, 0, 5.6f},
        {"1.40", 3, 0, 5.6f},   {"1.50", 5, 0, 8.0f},      {"1.56", 3, 0, 11.63f},  {"1.57", 5, 0, 11.63f},
        {"1.58 O", 5, 0, 8.0f}, {"1.58 G", 5, 0, 8.0f},    {"1.59", 5, 0, 8.0f},    {"1.60", 3, 0, 5.6f},
        {"1.70", 5, 0, 8.0f},   {"1.80", 3, 0, 5.6f},      {"1.90", 5, 0, 8.0f},    {"2.10", 4, 0, 4.5f},
        {"2.20", 5, 0, 5.6f},   {"2.30", 6, 0, 5.6f},      {"2.31", 6, 0, 5.6f},    {"2.40", 5, 6, 5.6f},
        {"2.41", 5, 6, 5.6f},   {"2.45", 5, 6, 9.65f},     {"2.50", 5, 0, 11.0f},   {"1.11", 0, 0, 4.5f},
        {"", 0, 0, 4.5f},       {"L.G. 1*10", 0, 0, 4.5f}, {" 1 .1 0", 1, 0, 4.5f},
    };
    Umfeld u;
    std::string sql;
    for (const Fall& f : faelle)
        sql += alteDisziplinSql("Disziplin " + f.spoNr, f.spoNr);
    sql += alteDisziplinSql("   ", "9.99") + alteDisziplinSql("", "9.98"); // no name: not carried over
    sql += "INSERT INTO Altersklassen VALUES ('Schützenklasse', 10), (' Jugend ', 0), ('', 20), ('Senioren', 5);";
    aeltereDatei(u.pfad, sql);
    const std::string alteDatei = inhalt(u.pfad);
    std::ofstream(u.ordner.file("wkak.alt")) << "Sicherung von gestern";

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    ASSERT_EQ(d.disziplinen.anzahl, static_cast<std::int16_t>(faelle.size() + 2));
    for (std::size_t i = 0; i < faelle.size(); ++i) {
        const Disziplin& e = d.disziplinen.eintraege[i];
        EXPECT_EQ(std::tuple(e.ScheibeNr1, e.ScheibeNr2, e.Kaliber),
                  std::tuple(faelle[i].scheibe1, faelle[i].scheibe2, faelle[i].kaliber))
            << "SpO-Nr «" << faelle[i].spoNr << "»";
    }
    // The older layout had no age ranges: every class is open to every age, ranked by its place.
    ASSERT_EQ(d.klassen.anzahl, 4);
    EXPECT_EQ(d.klassen.eintraege[0], (Altersklasse{"Schützenklasse", "10", 10, 99, false, 0}));
    EXPECT_EQ(d.klassen.eintraege[1], (Altersklasse{"Jugend", "10", 10, 99, false, 1}));
    EXPECT_EQ(d.klassen.eintraege[3], (Altersklasse{"Senioren", "5", 10, 99, false, 3}));

    // The old file is the backup, replacing the previous one; the new file has the current
    // layout, texts trimmed plus one blank, Zehntel without value and the nameless records left out.
    EXPECT_EQ(inhalt(u.ordner.file("wkak.alt")), alteDatei);
    EXPECT_EQ(spalten(u.pfad, "Disziplinen").size(), 31u);
    EXPECT_EQ(spalten(u.pfad, "Altersklassen").size(), 6u);
    {
        clubdb::Connection datei = clubdb::Connection::open(u.pfad, clubdb::OpenMode::ReadOnly);
        clubdb::Statement zeile(datei, "SELECT Name, BezSer1, BezSer2, Zehntel, (SELECT count(*) FROM Disziplinen), "
                                       "(SELECT group_concat(KlassenNr, '|') FROM Altersklassen) "
                                       "FROM Disziplinen WHERE SpoNr = '2.45 '");
        ASSERT_TRUE(zeile.step());
        EXPECT_EQ(zeile.text(0), "Disziplin 2.45 ");
        EXPECT_EQ(zeile.text(1), "Serie 1 ");
        EXPECT_EQ(zeile.text(2), " ");
        EXPECT_TRUE(zeile.isNull(3));
        EXPECT_EQ(zeile.integer(4), static_cast<std::int64_t>(faelle.size()));
        EXPECT_EQ(zeile.text(5), "10 |10 |5 ");
    }

    // Loading the rewritten file gives the same entries, without the nameless ones, and rewrites nothing.
    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(inhalt(u.ordner.file("wkak.alt")), alteDatei);
    d.disziplinen.eintraege.resize(faelle.size());
    EXPECT_EQ(wieder.disziplinen.eintraege, d.disziplinen.eintraege);
    ASSERT_EQ(wieder.klassen.anzahl, 3);
    EXPECT_EQ(wieder.klassen.eintraege[2], d.klassen.eintraege[3]);
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
    const std::vector<Altersklasse> erwartet = {
        {"Damenklasse", "11", 21, 40, true, 4}, {"Offen", "10", 0, 99, false, 0}, {"Schüler", "-3", 12, 14, false, -3}};
    EXPECT_EQ(d.klassen.eintraege, erwartet);
    EXPECT_TRUE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    EXPECT_EQ(spalten(u.pfad, "Altersklassen")[1].declaredType, "VARCHAR(22)");
    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_EQ(wieder.klassen.eintraege, erwartet);
}

TEST(WkAkLaden, ASubtotalIsKeptOnlyWhenTheSeriesDivideIntoWholeGroups)
{
    // Series, subtotal after, subtotal kept.
    const std::vector<std::tuple<int, int, int>> faelle = {{6, 4, 0}, {6, 2, 2}, {6, 0, 0}};
    Umfeld u;
    std::string sql;
    for (const auto& [serien, zwSu, erwartet] : faelle)
        sql += disziplinSql({.serien = serien, .zwSuNachSer = zwSu});
    aktuelleDatei(u, u.pfad, sql);

    Definitionen d;
    u.laden(d);

    ASSERT_EQ(d.disziplinen.anzahl, static_cast<std::int16_t>(faelle.size()));
    for (std::size_t i = 0; i < faelle.size(); ++i)
        EXPECT_EQ(d.disziplinen.eintraege[i].ZwSuNachSer, std::get<2>(faelle[i])) << "Fall " << i;
}

TEST(WkAkLaden, ClassListsHoldTheClassesBelowRank101HighestRankFirst)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad,
                  klasseSql("A", "'1'", 21, 40, true, 3) + klasseSql("B", "'2'", 18, 20, true, -1) +
                      klasseSql("Mannschaft", "'90'", 0, 99, false, 101) + klasseSql("C", "'3'", 41, 50, true, 5) +
                      klasseSql("D", "'4'", 0, 99, true, 0) + klasseSql("E", "' 5 '", 51, 60, true, 3) +
                      klasseSql("Vereinsmeister", "'91'", 0, 99, true, 120) +
                      klasseSql("Herren", "'10'", 21, 99, false, 100));

    Definitionen d = vorherGeladen();
    u.laden(d);

    EXPECT_EQ(d.klassen.anzahl, 8);
    std::vector<std::string> frauen;
    for (const Altersklasse& k : d.frauen.eintraege)
        frauen.push_back(k.Name + k.KlassenNr + (k.KlasseWeibl ? "w" : "m"));
    EXPECT_EQ(frauen, (std::vector<std::string>{"C3w", "A1w", "E5w", "D4w", "B2w"}));
    EXPECT_EQ(d.frauen.anzahl, 5);
    EXPECT_EQ(d.maenner.anzahl, 1);
    EXPECT_EQ(d.maenner.eintraege, (std::vector<Altersklasse>{{"Herren", "10", 21, 99, false, 100}}));
}

TEST(WkAkLaden, EmptyTablesGiveEmptyListsWithOneEmptyEntryAndAreNeverRewritten)
{
    // The second file keeps its class numbers in a number column, but has no class to carry over.
    for (const std::string sql : {"", "DROP TABLE Altersklassen; CREATE TABLE Altersklassen (Name VARCHAR(30), "
                                      "KlassenNr SMALLINT, KlasseVon SMALLINT, KlasseBis SMALLINT, KlasseWeibl "
                                      "BOOLEAN, KlassenRang SMALLINT);"}) {
        SCOPED_TRACE(sql);
        Umfeld u;
        aktuelleDatei(u, u.pfad, sql);
        const std::string vorher = inhalt(u.pfad);

        Definitionen d = vorherGeladen();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        EXPECT_TRUE(u.fragen.asked.empty());
        for (const auto* liste : {&d.klassen, &d.frauen, &d.maenner})
            EXPECT_EQ(std::tuple(liste->anzahl, liste->eintraege), std::tuple(0, std::vector<Altersklasse>(1)));
        EXPECT_EQ(std::tuple(d.disziplinen.anzahl, d.disziplinen.eintraege), std::tuple(0, std::vector<Disziplin>(1)));
        EXPECT_EQ(inhalt(u.pfad), vorher);
        EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    }
}

TEST(WkAkLaden, ValuesThatDoNotFitEndTheLoadWithTheQuestionToCreateAnEmptyFile)
{
    struct Fall
    {
        const char* beschreibung;
        std::string sql;
        std::int16_t disziplinenGelesen; // the count of a table that was read to its end
        enum { Aktuell, Aelter, Gesperrt } datei = Aktuell;
    };
    const std::vector<Fall> faelle = {
        {"Byte über 255", "UPDATE Disziplinen SET WertungsOption = 256", 0},
        {"Byte unter 0", "UPDATE Disziplinen SET FinalTeilnehmer = -1 WHERE rowid = 2", 0},
        {"Name ohne Wert", "UPDATE Disziplinen SET Name = NULL WHERE rowid = 2", 0},
        {"Serienname ohne Wert", "UPDATE Disziplinen SET BezSer7 = NULL", 0},
        {"Scheibe ohne Wert nach dem ersten Datensatz", "UPDATE Disziplinen SET ScheibeNr2 = NULL WHERE rowid = 2", 0},
        {"Scheibe als Text", "UPDATE Disziplinen SET ScheibeNr2 = 'rund'", 0},
        {"Kaliber jenseits einer Gleitkommazahl", "UPDATE Disziplinen SET Kaliber = 1e300", 0},
        {"Spalte fehlt", "ALTER TABLE Disziplinen DROP COLUMN SpoNr", 0},
        {"Klassentabelle fehlt", "DROP TABLE Altersklassen", 2},
        {"Alter über 16 Bit", "UPDATE Altersklassen SET KlasseBis = 40000", 2},
        {"Rang ohne Wert", "UPDATE Altersklassen SET KlassenRang = NULL", 2},
        {"Klassennummer ohne Wert", "UPDATE Altersklassen SET KlassenNr = NULL", 2},
        {"mehr als 32767 Datensätze", mehrDisziplinen(32768), 0},
        {"SpO-Nr über 16 Bit im älteren Format", alteDisziplinSql("Unsinn", "327.68"), 0, Fall::Aelter},
        {"von Zervik gesperrt", "", 0, Fall::Gesperrt},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.beschreibung);
        Umfeld u;
        if (f.datei == Fall::Aelter)
            aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + f.sql);
        else
            aktuelleDatei(u, u.pfad,
                          disziplinSql({}) + disziplinSql({.name = "Luftpistole", .spoNr = "2.10"}) +
                              klasseSql("Damenklasse", "'11'", 21, 40, true, 4) + f.sql);
        const std::string vorher = inhalt(u.pfad);
        std::optional<clubdb::Connection> halter;
        if (f.datei == Fall::Gesperrt) {
            halter.emplace(clubdb::Connection::open(u.pfad));
            halter->execute("BEGIN EXCLUSIVE; UPDATE Disziplinen SET Serienanzahl = 6;");
        }
        u.fragen.answers = {Answer::No};

        Definitionen d = vorherGeladen();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        ASSERT_EQ(u.fragen.asked.size(), 1u);
        EXPECT_EQ(u.fragen.asked[0].title, "Zervik - Verbindungsfehler");
        EXPECT_EQ(u.fragen.asked[0].text, verbindungsfehlerText(u.pfad));
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::YesNo);
        EXPECT_EQ(d.disziplinen.anzahl, f.disziplinenGelesen);
        EXPECT_EQ(d.klassen.anzahl, 0);
        EXPECT_EQ(d.frauen.eintraege[0].Name, "alt"); // the class lists stay as the previous load left them
        EXPECT_EQ(inhalt(u.pfad), vorher);
        EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    }
}

TEST(WkAkLaden, ATableOf32767RecordsIsLoadedWhole)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql({}) + disziplinSql({}) + mehrDisziplinen(32767));

    Definitionen d;
    u.laden(d);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(d.disziplinen.anzahl, 32767);
    EXPECT_EQ(d.disziplinen.eintraege.size(), 32767u);
}

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

        ASSERT_EQ(u.fragen.asked.size(), antworten.size());
        EXPECT_EQ(u.fragen.asked[0].text, verbindungsfehlerText(u.pfad));
        EXPECT_EQ(d.disziplinen.anzahl, 0);
        if (antworten.back() != Answer::Ok) {
            EXPECT_EQ(inhalt(u.pfad), "Protokoll der Jahreshauptversammlung");
            continue;
        }
        EXPECT_EQ(u.fragen.asked[1].title, "Zervik - Sicherheitsabfrage");
        EXPECT_EQ(u.fragen.asked[1].text, "Achtung! Soll die vorhandene Datei " + u.pfad + " überschrieben werden?");
        EXPECT_EQ(u.fragen.asked[1].buttons, Buttons::OkCancel);
        // Nothing is reread at once; the next load finds the empty file.
        u.fragen.asked.clear();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        EXPECT_TRUE(u.fragen.asked.empty());
    }
}

TEST(WkAkLaden, WithoutAPathTheFirstDefaultFileOfTheProgramFolderIsUsed)
{
    // The program lies in bin/; installed, its sample lies in the data folder beside bin/.
    const std::string daten = std::filesystem::path("bin/" TVX_DATENORDNER_RELATIV).lexically_normal().string();
    const std::vector<std::vector<std::string>> faelle = {// the files present; the first is used
                                                          {"bin/wkak-lsv-st.zrv", "bin/wkakAllgem.zrv", "bin/wkak.zrv"},
                                                          {"bin/wkakAllgem.zrv", "bin/wkak.zrv"},
                                                          {"bin/wkak.zrv", "bin/WkAk.zrv"},
                                                          {"bin/wkak.zrv", daten + "/wkak-lsv-st.zrv"},
                                                          {daten + "/wkakAllgem.zrv", daten + "/wkak.zrv"},
                                                          {daten + "/wkak.zrv"}};
    for (const auto& vorhanden : faelle) {
        SCOPED_TRACE(vorhanden[0]);
        Umfeld u;
        u.umgebung.programmOrdner = u.ordner.file("bin");
        for (const std::string& name : vorhanden) {
            std::filesystem::create_directories(std::filesystem::path(u.ordner.file(name)).parent_path());
            aktuelleDatei(u, u.ordner.file(name), disziplinSql({.name = name}));
        }
        std::string pfad;

        Definitionen d;
        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);

        EXPECT_EQ(pfad, u.ordner.file(vorhanden[0]));
        EXPECT_TRUE(u.fragen.asked.empty());
        EXPECT_EQ(d.disziplinen.eintraege[0].Name, vorhanden[0]);
    }
}

TEST(WkAkLaden, AMissingFileIsOfferedToBeCreated)
{
    for (const bool anlegen : {false, true}) {
        SCOPED_TRACE(anlegen);
        Umfeld u;
        u.fragen.answers = {anlegen ? Answer::Yes : Answer::No, Answer::No};
        std::string pfad;
        Definitionen d = vorherGeladen();

        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);

        EXPECT_EQ(pfad, u.ordner.file("wkak.zrv"));
        ASSERT_EQ(u.fragen.asked.size(), anlegen ? 1u : 2u);
        EXPECT_EQ(u.fragen.asked[0].title, "Zervik - fehlende Datei");
        EXPECT_EQ(u.fragen.asked[0].text, "Datei mit den Voreinstellungen der Klassen wurde nicht gefunden.\r\n"
                                          "Soll eine leere Datei angelegt werden?");
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::YesNo);
        if (!anlegen) {
            EXPECT_EQ(u.fragen.asked[1].text, verbindungsfehlerText(pfad));
        }
        EXPECT_EQ(std::tuple(d.disziplinen.anzahl, d.disziplinen.eintraege.size(), d.klassen.anzahl),
                  std::tuple(0, 1u, 0));
        EXPECT_EQ(std::filesystem::is_regular_file(pfad), anlegen);
    }
}
