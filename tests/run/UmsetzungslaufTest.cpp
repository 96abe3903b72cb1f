#include "run/RunSetup.h"

#include <cerrno>
#include <cstdio>

using namespace run;
using Texts = std::vector<std::string>;

TEST(UmsetzungslaufTest, RefusesToStartWithoutDefinitionsOrLog)
{
    RunSetup s;
    s.files(1);
    std::string leer = s.folder.file("leer.zrv");
    s.frontend.questions.answers = {questions::Answer::No, questions::Answer::No};
    EXPECT_EQ(s.lauf.start(s.eingaben, leer), Laufende::DefinitionenLeer);
    EXPECT_EQ(s.frontend.errors().back(),
              "Die Datei mit den Voreinstellungen der Disziplinen und Klassen ist (teilweise) leer\r\n"
              "Diese Daten werden zum Einlesen der Hochmeldungen und Startberechtigungen benötigt!");
    EXPECT_FALSE(std::filesystem::exists(s.logPath()));

    s.eingaben.vdbOrdner = s.folder.file("fehlt") + "/";
    EXPECT_EQ(s.start(), Laufende::LogNichtAngelegt);
    EXPECT_EQ(s.frontend.errors().back(),
              "Die Logdatei " + s.folder.file("fehlt") + "/Log_20240307_0905.log konnte nicht angelegt werden!");
    EXPECT_TRUE(s.frontend.events.empty() && s.lauf.leerlauf());

    // Disciplines without classes are as good as no definitions at all.
    clubdb::Connection::open(s.definitions).execute("DELETE FROM Altersklassen");
    EXPECT_EQ(s.start(), Laufende::DefinitionenLeer);
}

// A missing definitions file that the user wants created, in a folder where not even the
// administrator may create a file (the kernel's own view of its devices), ends the program at once.
TEST(UmsetzungslaufTest, ADefinitionsFileThatMayNotBeCreatedEndsTheProgram)
{
    std::string gesperrt = "/sys/kernel/wkak.zrv";
    std::FILE* probe = std::fopen(gesperrt.c_str(), "wx");
    if (probe && !std::fclose(probe))
        std::remove(gesperrt.c_str());
    if (probe || (errno != EACCES && errno != EPERM && errno != EROFS))
        GTEST_SKIP() << "Dieses System lässt das Anlegen in jedem Ordner zu.";
    RunSetup s;
    s.files(1);
    s.frontend.questions.answers = {questions::Answer::Yes};
    EXPECT_EQ(s.lauf.start(s.eingaben, gesperrt), Laufende::ProgrammBeenden);
    EXPECT_EQ(s.frontend.questions.asked.back().title + "|" + s.frontend.questions.asked.back().text,
              "Zervik - Zugriffsfehler|Die Voreinstellung für Disziplinen und Klassen konnte nicht geöffnet werden."
              "\r\nBitte stellen sie sicher, dass das Verzeichnis und die Datei " +
                  gesperrt + " für den Vollzugriff freigegeben sind!");
    EXPECT_TRUE(s.frontend.events.empty());
}

TEST(UmsetzungslaufTest, RunsTheStepsWritesTheLogAndOffersIt)
{
    RunSetup s;
    s.write("V", {"1,04-001,Verein,V,,,,,,,Ort", "1,04-001,Doppelt,D,,,,,,,Ort"});
    s.frontend.questions.answers = {questions::Answer::Yes};
    EXPECT_EQ(s.start(), Laufende::Beendet);
    EXPECT_EQ(std::pair(s.lauf.problemzahl(), s.lauf.logPfad()), std::pair(1, s.logPath()));
    const std::string log = "Starte Vidazerierung\r\n"
                            "Umsetzen der Vereinsdaten\r\n"
                            "Zeile  2\t1,04-001,Doppelt,D,,,,,,,Ort\r\n"
                            " - Vereinsnummer 04-001 bereits eingetragen!\r\n"
                            "2 Zeilen eingelesen, 2 Vereine angelegt\r\n"
                            "Vereinsvidazerierung abgeschlossen\r\n"
                            "\r\n";
    EXPECT_EQ(s.log(), log);
    EXPECT_EQ(s.frontend.events,
              (Texts{"läuft", "fortschritt 1 / 1", "fortschritt 2 / 2", "inhalt 2", "zeige " + s.logPath(), "steht"}));
    ASSERT_EQ(s.frontend.questions.asked.size(), 1u);
    EXPECT_EQ(s.frontend.questions.asked[0].title + ": " + s.frontend.questions.asked[0].text,
              "Logdatei: Bei der Umwandlung der Exportdateien wurden Probleme festgestellt.\r\nSoll die Logdatei "
              "angezeigt werden?");
    EXPECT_TRUE(*s.frontend.content.schuetzen == 0 && s.lauf.leerlauf());
}

// Abbruch stops the running step after its line and skips the steps after it; the next Start
// runs again from the beginning.
TEST(UmsetzungslaufTest, AbbruchStopsTheStepAndIsClearedByTheNextStart)
{
    RunSetup s;
    s.files(3, 3, 1);
    bool imLauf = false; // not idle while the run works
    s.at(importer::Anzeige::Vereine, 1, [&] { s.lauf.abbrechen(), imLauf = !s.lauf.leerlauf(); });
    EXPECT_EQ((std::tuple{s.start(), s.lauf.abbruchAngefordert(), *s.frontend.content.vereine, imLauf}),
              std::tuple(Laufende::Beendet, true, 1, true));
    EXPECT_EQ(s.frontend.events, (Texts{"läuft", "fortschritt 1 / 1", "inhalt 1",
                                        "Die Vereinsdatenbank ist unvollständig: die Umsetzung "
                                        "wurde abgebrochen.",
                                        "steht"}));
    EXPECT_TRUE(contains(s.log(), "1 Zeilen eingelesen, 1 Vereine angelegt\r\n"));

    s.now = *clubdb::Date::fromCivil(2024, 3, 7, 9, 6, 0);
    s.at(importer::Anzeige::Mitglieder, 2, [&] { s.lauf.abbrechen(); });
    s.frontend.questions.answers = {questions::Answer::No, questions::Answer::No}; // 04-001 is a problem line now
    EXPECT_EQ((std::tuple{s.start(), s.lauf.abbruchAngefordert(), *s.frontend.content.vereine,
                          *s.frontend.content.schuetzen}),
              std::tuple(Laufende::Beendet, true, 4, 2));
    EXPECT_FALSE(contains(readLog(s.folder.file("Log_20240307_0906.log")), "Startberechtigungen"));
    // The indexes that the members step builds after its lines are there all the same.
    EXPECT_EQ(s.rows("SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY rowid"),
              (Texts{"IdxVNr", "IdxOrt", "IdxAbk", "IdxNamen", "IdxSchID", "IdxVereinID", "IdxMglNr", "IdxVSID"}));

    s.frontend.onLine = nullptr;
    s.now = *clubdb::Date::fromCivil(2024, 3, 7, 9, 7, 0);
    EXPECT_EQ((std::pair{s.start(), s.lauf.abbruchAngefordert()}), std::pair(Laufende::Beendet, false));
    EXPECT_TRUE(contains(readLog(s.folder.file("Log_20240307_0907.log")), "Umsetzen der Startberechtigungen"));
}

// A club database that could not be finished (a failure beside the lines, such as a commit that
// held none) is told with the engine's number and description, the first failure only; lines come
// first, and the interruption only where the front end names it.
TEST(UmsetzungslaufTest, AnIncompleteClubDatabaseIsToldWhy)
{
    importer::Vollstaendigkeit stand;
    stand.datenbankNichtFertig(clubdb::DbError(13, "database or disk is full"));
    stand.datenbankNichtFertig(clubdb::DbError(778, "disk I/O error"));
    stand.abgebrochen();
    stand.zeilenNichtGespeichert(1);
    const std::string anfang = "Die Vereinsdatenbank ist unvollständig: ";
    EXPECT_EQ(stand.meldungen(true),
              (Texts{anfang + "1 Zeilen konnten wegen eines Datei- oder Speicherfehlers nicht gespeichert werden.",
                     anfang + "13 ; database or disk is full", anfang + "die Umsetzung wurde abgebrochen."}));
    EXPECT_EQ(stand.meldungen(false).size(), 2u);
}

// The front end looks at its events after the first line of a step and then only when the run's
// interval has passed since it last did; with no interval after every line. Abbruch pressed at
// a look stops the step after that line.
TEST(UmsetzungslaufTest, EventsAreLookedAtAfterAStepsFirstLineThenAfterTheInterval)
{
    // the interval; the look at which Abbruch is pressed (empty: none); step and line of each look;
    // the persons stored
    const std::chrono::milliseconds stunde = std::chrono::hours(1);
    const std::tuple<std::chrono::milliseconds, std::string, Texts, int> rows[] = {
        {{}, "", {"V1", "V2", "V3", "M1", "M2", "M3", "M4", "Z1", "Z2"}, 4},
        {{}, "M2", {"V1", "V2", "V3", "M1", "M2"}, 2},
        {stunde, "", {"V1", "M1", "Z1"}, 4},
        {stunde, "M1", {"V1", "M1"}, 1}};
    for (const auto& [abstand, abbruchBei, blicke, schuetzen] : rows) {
        SCOPED_TRACE(std::to_string(abstand.count()) + " " + abbruchBei);
        RunSetup s;
        s.files(3, 4, 2);
        s.lauf.ereignisabstand = abstand;
        Texts gesehen;
        s.frontend.onLine = [&](importer::Anzeige schritt, int zeile) {
            gesehen.push_back("VMZ"[static_cast<int>(schritt)] + std::to_string(zeile));
            if (gesehen.back() == abbruchBei)
                s.lauf.abbrechen();
        };
        EXPECT_EQ((std::tuple{s.start(), gesehen, *s.frontend.content.schuetzen}),
                  std::tuple(Laufende::Beendet, blicke, schuetzen));
    }
}
