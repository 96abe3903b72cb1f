#include "DefinitionsdateiHilfe.h"

#include "clubdb/Connection.h"
#include "definitions/WkAk.h"

#include <gtest/gtest.h>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;
using questions::Buttons;

namespace {

const std::string kCrLf = "\r\n";

std::string verbindungsfehlerText(const std::string& pfad)
{
    return "Datei " + pfad + " konnte nicht geöffnet werden oder ist beschädigt!" + kCrLf +
           "Soll eine leere Datei angelegt werden?";
}

Altersklasse klasse(std::string name, std::string nr, std::int16_t von, std::int16_t bis, bool weiblich,
                    std::int16_t rang)
{
    return {std::move(name), std::move(nr), von, bis, weiblich, rang};
}

// Fills the discipline table of the test file (two records) up to anzahl records.
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
    d.disziplinen.eintraege[0].Name = "alt";
    d.disziplinen.eintraege[1].Name = "alt 2";
    d.disziplinen.anzahl = 2;
    d.klassen.eintraege = {klasse("alt", "1", 0, 0, false, 0)};
    d.klassen.anzahl = 1;
    d.frauen = d.klassen;
    d.maenner = d.klassen;
    return d;
}

} // namespace

TEST(WkAkLaden, ReadsAFileOfTheCurrentLayoutAsItIs)
{
    Umfeld u;
    Zeile kk{.name = "  KK-Sportgewehr 3x20 ",
             .spoNr = " 1.40 ",
             .serien = 6,
             .zwSuNachSer = 2,
             .scheibe1 = "3",
             .scheibe2 = "0",
             .kaliber = "5.6"};
    Zeile zimmerstutzen{.name = "Zimmerstutzen", .spoNr = "1.30", .serien = 3, .scheibe1 = "2", .kaliber = "4.65"};
    aktuelleDatei(u, u.pfad,
                  disziplinSql(kk) + disziplinSql(zimmerstutzen) +
                      klasseSql(" Damenklasse ", "' 11 '", 21, 40, true, 4) +
                      klasseSql("Offen", "'0'", 0, 99, false, 0));
    ausfuehren(u.pfad, "UPDATE Disziplinen SET WertungsOption = 2, Finale = 1, FinalTeilnehmer = 8, "
                       "FinalSchüsse = 15, BezSer2 = ' Serie 2 ', BezSer12 = 'Serie 12', BezZwSu3 = 'Stehend ' "
                       "WHERE SpoNr = ' 1.40 '");
    const std::string vorher = inhalt(u.pfad);

    Definitionen d = vorherGeladen();
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    Disziplin erwartet{.Name = "KK-Sportgewehr 3x20",
                       .SpoNr = "1.40",
                       .SerienAnzahl = 6,
                       .SchussProSerie = 10,
                       .WertungsOption = 2,
                       .Finale = true,
                       .FinalTeilnehmer = 8,
                       .FinalSchuesse = 15,
                       .ZwSuNachSer = 2,
                       .BezSer = {"Serie 1", "Serie 2", "", "", "", "", "", "", "", "", "", "Serie 12"},
                       .BezZwSu = {"", "", "Stehend", "", "", ""},
                       .ScheibeNr1 = 3,
                       .ScheibeNr2 = 0,
                       .Kaliber = 5.6f};
    ASSERT_EQ(d.disziplinen.anzahl, 2);
    ASSERT_EQ(d.disziplinen.eintraege.size(), 2u);
    EXPECT_EQ(d.disziplinen.eintraege[0], erwartet);
    EXPECT_EQ(d.disziplinen.eintraege[1].Kaliber, 4.65f);
    EXPECT_EQ(d.disziplinen.eintraege[1].ScheibeNr1, 2);
    ASSERT_EQ(d.klassen.anzahl, 2);
    EXPECT_EQ(d.klassen.eintraege[0], klasse("Damenklasse", "11", 21, 40, true, 4));
    EXPECT_EQ(d.klassen.eintraege[1].KlassenNr, "10"); // the general class
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
        SCOPED_TRACE("SpO-Nr «" + faelle[i].spoNr + "»");
        const Disziplin& e = d.disziplinen.eintraege[i];
        EXPECT_EQ(e.ScheibeNr1, faelle[i].scheibe1);
        EXPECT_EQ(e.ScheibeNr2, faelle[i].scheibe2);
        EXPECT_EQ(e.Kaliber, faelle[i].kaliber);
    }
    // The older layout had no age ranges: every class is open to every age, ranked by its place.
    ASSERT_EQ(d.klassen.anzahl, 4);
    EXPECT_EQ(d.klassen.eintraege[0], klasse("Schützenklasse", "10", 10, 99, false, 0));
    EXPECT_EQ(d.klassen.eintraege[1], klasse("Jugend", "10", 10, 99, false, 1));
    EXPECT_EQ(d.klassen.eintraege[3], klasse("Senioren", "5", 10, 99, false, 3));

    // The old file is the backup, replacing the previous one; the new file has the current layout.
    EXPECT_EQ(inhalt(u.ordner.file("wkak.alt")), alteDatei);
    EXPECT_EQ(spalten(u.pfad, "Disziplinen").size(), 31u);
    EXPECT_EQ(spalten(u.pfad, "Altersklassen").size(), 6u);
    {
        clubdb::Connection datei = clubdb::Connection::open(u.pfad, clubdb::OpenMode::ReadOnly);
        clubdb::Statement zeile(datei, "SELECT Name, BezSer1, BezSer2, SpoNr, Zehntel FROM Disziplinen WHERE "
                                       "SpoNr = '2.45 '");
        ASSERT_TRUE(zeile.step());
        EXPECT_EQ(zeile.text(0), "Disziplin 2.45 ");
        EXPECT_EQ(zeile.text(1), "Serie 1 ");
        EXPECT_EQ(zeile.text(2), " ");
        EXPECT_TRUE(zeile.isNull(4));
        clubdb::Statement anzahl(datei, "SELECT (SELECT count(*) FROM Disziplinen), (SELECT count(*) FROM "
                                        "Altersklassen), (SELECT KlassenNr FROM Altersklassen LIMIT 1)");
        ASSERT_TRUE(anzahl.step());
        EXPECT_EQ(anzahl.integer(0), static_cast<std::int64_t>(faelle.size()));
        EXPECT_EQ(anzahl.integer(1), 3);
        EXPECT_EQ(anzahl.text(2), "10 ");
    }

    // Loading the rewritten file gives the same entries, without names, and rewrites nothing.
    const std::string sicherung = inhalt(u.ordner.file("wkak.alt"));
    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(inhalt(u.ordner.file("wkak.alt")), sicherung);
    d.disziplinen.eintraege.resize(faelle.size());
    EXPECT_EQ(wieder.disziplinen.eintraege, d.disziplinen.eintraege);
    ASSERT_EQ(wieder.klassen.anzahl, 3);
    EXPECT_EQ(wieder.klassen.eintraege[2], d.klassen.eintraege[3]);
}

TEST(WkAkLaden, NumericClassNumbersAreReadAsTextAndTheFileIsRewritten)
{
    Umfeld u;
    {
        clubdb::Connection datei = clubdb::Connection::create(u.pfad);
        datei.execute("CREATE TABLE Disziplinen (Name VARCHAR(40));"
                      "CREATE TABLE Altersklassen (Name VARCHAR(30), KlassenNr SMALLINT, KlasseVon SMALLINT, "
                      "KlasseBis SMALLINT, KlasseWeibl BOOLEAN, KlassenRang SMALLINT);" +
                      klasseSql("Damenklasse", "11", 21, 40, true, 4) + klasseSql("Offen", "0", 0, 99, false, 0) +
                      klasseSql("Schüler", "-3", 12, 14, false, -3));
        datei.close();
    }

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    ASSERT_EQ(d.klassen.anzahl, 3);
    EXPECT_EQ(d.klassen.eintraege[0], klasse("Damenklasse", "11", 21, 40, true, 4));
    EXPECT_EQ(d.klassen.eintraege[1], klasse("Offen", "10", 0, 99, false, 0));
    EXPECT_EQ(d.klassen.eintraege[2], klasse("Schüler", "-3", 12, 14, false, -3));
    EXPECT_TRUE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    EXPECT_EQ(spalten(u.pfad, "Altersklassen")[1].declaredType, "VARCHAR(22)");

    Definitionen wieder;
    EXPECT_EQ(u.laden(wieder), Ausgang::Weiter);
    EXPECT_EQ(wieder.klassen.eintraege, d.klassen.eintraege);
}

TEST(WkAkLaden, ASubtotalIsKeptOnlyWhenTheSeriesDivideIntoWholeGroups)
{
    struct Fall
    {
        int serien;
        int zwSu;
        int erwartet;
    };
    const std::vector<Fall> faelle = {{6, 4, 0}, {6, 2, 2}, {6, 3, 3}, {6, 0, 0}, {12, 6, 6}, {4, 8, 0}};
    Umfeld u;
    std::string sql;
    for (const Fall& f : faelle)
        sql += disziplinSql({.serien = f.serien, .zwSuNachSer = f.zwSu});
    aktuelleDatei(u, u.pfad, sql);

    Definitionen d;
    u.laden(d);

    ASSERT_EQ(d.disziplinen.anzahl, static_cast<std::int16_t>(faelle.size()));
    for (std::size_t i = 0; i < faelle.size(); ++i)
        EXPECT_EQ(d.disziplinen.eintraege[i].ZwSuNachSer, faelle[i].erwartet)
            << faelle[i].serien << " Serien, Zwischensumme nach " << faelle[i].zwSu;
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
    for (const Altersklasse& k : d.frauen.eintraege) {
        frauen.push_back(k.Name + k.KlassenNr);
        EXPECT_TRUE(k.KlasseWeibl);
    }
    EXPECT_EQ(frauen, (std::vector<std::string>{"C3", "A1", "E5", "D4", "B2"}));
    EXPECT_EQ(d.frauen.anzahl, 5);
    ASSERT_EQ(d.maenner.anzahl, 1);
    EXPECT_EQ(d.maenner.eintraege, (std::vector<Altersklasse>{klasse("Herren", "10", 21, 99, false, 100)}));
}

TEST(WkAkLaden, EmptyTablesGiveEmptyListsWithOneEmptyEntry)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad);
    const std::string vorher = inhalt(u.pfad);

    Definitionen d = vorherGeladen();
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    for (const auto* liste : {&d.klassen, &d.frauen, &d.maenner}) {
        EXPECT_EQ(liste->anzahl, 0);
        EXPECT_EQ(liste->eintraege, std::vector<Altersklasse>{Altersklasse{}});
    }
    EXPECT_EQ(d.disziplinen.anzahl, 0);
    EXPECT_EQ(d.disziplinen.eintraege, std::vector<Disziplin>{Disziplin{}});
    EXPECT_EQ(inhalt(u.pfad), vorher);
}

TEST(WkAkLaden, ValuesThatDoNotFitEndTheLoadWithTheQuestionToCreateAnEmptyFile)
{
    struct Fall
    {
        const char* beschreibung;
        std::string sql;
        std::int16_t disziplinenGelesen; // the count of a table that was read to its end
    };
    const std::vector<Fall> faelle = {
        {"Byte über 255", "UPDATE Disziplinen SET WertungsOption = 256", 0},
        {"Byte unter 0", "UPDATE Disziplinen SET FinalTeilnehmer = -1 WHERE rowid = 2", 0},
        {"Serienanzahl über 255", "UPDATE Disziplinen SET Serienanzahl = 300", 0},
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
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.beschreibung);
        Umfeld u;
        aktuelleDatei(u, u.pfad,
                      disziplinSql({}) + disziplinSql({.name = "Luftpistole", .spoNr = "2.10"}) +
                          klasseSql("Damenklasse", "'11'", 21, 40, true, 4));
        ausfuehren(u.pfad, f.sql);
        const std::string vorher = inhalt(u.pfad);
        u.fragen.answers = {Answer::No};

        Definitionen d = vorherGeladen();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        ASSERT_EQ(u.fragen.asked.size(), 1u);
        EXPECT_EQ(u.fragen.asked[0].title, "Zervik - Verbindungsfehler");
        EXPECT_EQ(u.fragen.asked[0].text, verbindungsfehlerText(u.pfad));
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::YesNo);
        EXPECT_EQ(d.disziplinen.anzahl, f.disziplinenGelesen);
        EXPECT_EQ(d.klassen.anzahl, 0);
        // The class lists stay as the previous load left them.
        EXPECT_EQ(d.frauen.eintraege[0].Name, "alt");
        EXPECT_EQ(inhalt(u.pfad), vorher);
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

TEST(WkAkLaden, ASpoNrBeyond16BitsInTheOlderLayoutIsAnError)
{
    Umfeld u;
    aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + alteDisziplinSql("Unsinn", "327.68"));
    u.fragen.answers = {Answer::No};

    Definitionen d;
    u.laden(d);

    EXPECT_EQ(u.titel(), std::vector<std::string>{"Zervik - Verbindungsfehler"});
    EXPECT_EQ(d.disziplinen.anzahl, 0);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
}

TEST(WkAkLaden, AnUnreadableFileIsReplacedOnlyAfterBothQuestionsAreConfirmed)
{
    struct Fall
    {
        std::vector<Answer> antworten;
        bool ersetzt;
    };
    for (const Fall& f : {Fall{{Answer::No}, false}, Fall{{Answer::Yes, Answer::Cancel}, false},
                          Fall{{Answer::Yes, Answer::Ok}, true}}) {
        SCOPED_TRACE(f.antworten.size());
        Umfeld u;
        std::ofstream(u.pfad) << "Protokoll der Jahreshauptversammlung";
        u.fragen.answers.assign(f.antworten.begin(), f.antworten.end());

        Definitionen d;
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        ASSERT_EQ(u.fragen.asked.size(), f.antworten.size());
        EXPECT_EQ(u.fragen.asked[0].text, verbindungsfehlerText(u.pfad));
        if (f.antworten.size() == 2) {
            EXPECT_EQ(u.fragen.asked[1].title, "Zervik - Sicherheitsabfrage");
            EXPECT_EQ(u.fragen.asked[1].text,
                      "Achtung! Soll die vorhandene Datei " + u.pfad + " überschrieben werden?");
            EXPECT_EQ(u.fragen.asked[1].buttons, Buttons::OkCancel);
        }
        EXPECT_EQ(d.disziplinen.anzahl, 0);
        if (!f.ersetzt) {
            EXPECT_EQ(inhalt(u.pfad), "Protokoll der Jahreshauptversammlung");
            continue;
        }
        // Nothing is reread at once; the next load finds the empty file.
        u.fragen.asked.clear();
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        EXPECT_TRUE(u.fragen.asked.empty());
    }
}

TEST(WkAkLaden, AFileLockedByTheCompetitionProgramCannotBeRead)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql({}));
    clubdb::Connection halter = clubdb::Connection::open(u.pfad);
    halter.execute("BEGIN EXCLUSIVE; UPDATE Disziplinen SET Serienanzahl = 6;");
    u.fragen.answers = {Answer::No};

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_EQ(u.titel(), std::vector<std::string>{"Zervik - Verbindungsfehler"});
    halter.execute("ROLLBACK");
}

TEST(WkAkLaden, WithoutAPathTheFirstDefaultFileOfTheProgramFolderIsUsed)
{
    struct Fall
    {
        std::vector<std::string> vorhanden;
        std::string erwartet;
    };
    const std::vector<Fall> faelle = {
        {{"wkak-lsv-st.zrv", "wkakAllgem.zrv", "wkak.zrv"}, "wkak-lsv-st.zrv"},
        {{"wkakAllgem.zrv", "wkak.zrv"}, "wkakAllgem.zrv"},
        {{"wkak.zrv", "WkAk.zrv"}, "wkak.zrv"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.erwartet);
        Umfeld u;
        for (const std::string& name : f.vorhanden)
            aktuelleDatei(u, u.ordner.file(name), disziplinSql({.name = name}));
        std::string pfad;

        Definitionen d;
        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);

        EXPECT_EQ(pfad, u.ordner.file(f.erwartet));
        EXPECT_TRUE(u.fragen.asked.empty());
        EXPECT_EQ(d.disziplinen.eintraege[0].Name, f.erwartet);
    }
}

TEST(WkAkLaden, AMissingFileIsOfferedToBeCreated)
{
    const std::string fehlendText = "Datei mit den Voreinstellungen der Klassen wurde nicht gefunden." + kCrLf +
                                    "Soll eine leere Datei angelegt werden?";
    {
        SCOPED_TRACE("Nein, Nein");
        Umfeld u;
        u.fragen.answers = {Answer::No, Answer::No};
        std::string pfad;
        Definitionen d = vorherGeladen();

        EXPECT_EQ(WkAkLaden(d, pfad, u.umgebung), Ausgang::Weiter);

        EXPECT_EQ(pfad, u.ordner.file("wkak.zrv"));
        ASSERT_EQ(u.fragen.asked.size(), 2u);
        EXPECT_EQ(u.fragen.asked[0].title, "Zervik - fehlende Datei");
        EXPECT_EQ(u.fragen.asked[0].text, fehlendText);
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::YesNo);
        EXPECT_EQ(u.fragen.asked[1].text, verbindungsfehlerText(pfad));
        EXPECT_EQ(d.disziplinen.anzahl, 0);
        EXPECT_EQ(d.disziplinen.eintraege.size(), 1u);
        EXPECT_EQ(d.klassen.anzahl, 0);
        EXPECT_FALSE(std::filesystem::exists(pfad));
    }
    {
        SCOPED_TRACE("Ja");
        Umfeld u;
        u.fragen.answers = {Answer::Yes};
        Definitionen d;

        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        EXPECT_EQ(u.titel(), std::vector<std::string>{"Zervik - fehlende Datei"});
        EXPECT_TRUE(std::filesystem::is_regular_file(u.pfad));
        EXPECT_EQ(d.disziplinen.anzahl, 0);
    }
}
