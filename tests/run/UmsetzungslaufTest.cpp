#include "run/RunSetup.h"

#include <gtest/gtest.h>

using namespace run;
using Texts = std::vector<std::string>;

TEST(UmsetzungslaufTest, RefusesToStartWithoutDefinitionsOrLog)
{
    RunSetup s;
    s.write("V", {"1,04-001,Verein,V,,,,,,,Ort"});
    std::string leer = s.folder.file("leer.zrv");
    s.frontend.questions.answers = {questions::Answer::No, questions::Answer::No};
    EXPECT_EQ(s.lauf.start(s.eingaben, leer), Laufende::DefinitionenLeer);
    EXPECT_EQ(s.frontend.questions.asked.back().title, "Fehler");
    EXPECT_EQ(s.frontend.questions.asked.back().text,
              "Die Datei mit den Voreinstellungen der Disziplinen und Klassen ist (teilweise) leer\r\n"
              "Diese Daten werden zum Einlesen der Hochmeldungen und Startberechtigungen benötigt!");
    EXPECT_FALSE(std::filesystem::exists(s.logPath()));

    s.eingaben.vdbOrdner = s.folder.file("fehlt") + "/";
    EXPECT_EQ(s.start(), Laufende::LogNichtAngelegt);
    EXPECT_EQ(s.frontend.questions.asked.back().text,
              "Die Logdatei " + s.folder.file("fehlt") + "/Log_20240307_0905.log konnte nicht angelegt werden!");
    EXPECT_TRUE(s.frontend.events.empty());
    EXPECT_TRUE(s.lauf.leerlauf());
}

TEST(UmsetzungslaufTest, RunsTheStepsWritesTheLogAndOffersIt)
{
    RunSetup s;
    s.write("V", {"1,04-001,Verein,V,,,,,,,Ort", "1,04-001,Doppelt,D,,,,,,,Ort"});
    s.frontend.questions.answers = {questions::Answer::Yes};
    EXPECT_EQ(s.start(), Laufende::Beendet);

    EXPECT_EQ(s.lauf.problemzahl(), 1);
    EXPECT_EQ(s.lauf.logPfad(), s.logPath());
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
    EXPECT_EQ(s.frontend.questions.asked[0].title, "Logdatei");
    EXPECT_EQ(s.frontend.questions.asked[0].text, "Bei der Umwandlung der Exportdateien wurden Probleme festgestellt."
                                                  "\r\nSoll die Logdatei angezeigt werden?");
    EXPECT_EQ(*s.frontend.content.schuetzen, 0);
    EXPECT_TRUE(s.lauf.leerlauf());

    // Without the log nothing is written and nothing offered; both lines are problems now.
    s.lauf.logEin = false;
    EXPECT_EQ(s.start(), Laufende::Beendet);
    EXPECT_EQ(s.lauf.problemzahl(), 2);
    EXPECT_EQ(s.frontend.questions.asked.size(), 1u);
    EXPECT_EQ(s.log(), log);
}

TEST(UmsetzungslaufTest, AbbruchStopsTheStepAndIsClearedByTheNextStart)
{
    RunSetup s;
    s.write("V", {"1,04-001,A,A,,,,,,,Ort", "1,04-002,B,B,,,,,,,Ort", "1,04-003,C,C,,,,,,,Ort"});
    s.frontend.onLine = [&](importer::Anzeige, int) { s.lauf.abbrechen(); };
    EXPECT_EQ(s.start(), Laufende::Beendet);
    EXPECT_TRUE(s.lauf.abbruchAngefordert());
    EXPECT_EQ(*s.frontend.content.vereine, 1);
    EXPECT_TRUE(contains(s.log(), "1 Zeilen eingelesen, 1 Vereine angelegt\r\n"));

    s.frontend.onLine = nullptr; // 04-001 is stored already: one problem line, the log declined
    EXPECT_EQ(s.start(), Laufende::Beendet);
    EXPECT_FALSE(s.lauf.abbruchAngefordert());
    EXPECT_EQ(*s.frontend.content.vereine, 4);
}
