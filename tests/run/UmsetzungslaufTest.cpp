#include "clubdb/DatenbankErstellen.h"
#include "run/Umsetzungslauf.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace run;

namespace {

class Frontend : public Lauffrontend
{
public:
    ScriptedQuestions questions;
    std::vector<std::string> events; // what the run told its front end, in order
    std::function<void()> onEvents;
    clubdb::VdbInhalt content;

    questions::Questions& fragen() override { return questions; }
    void inhalt(const clubdb::VdbInhalt& i) override
    {
        content = i;
        events.push_back("inhalt " + clubdb::Anzeigetext(i.vereine));
    }
    void laufzustand(bool laeuft) override { events.push_back(laeuft ? "läuft" : "steht"); }
    void logAnzeigen(const std::string& pfad) override { events.push_back("zeige " + pfad); }
    void fortschritt(importer::Anzeige, const std::string& text) override { events.push_back("fortschritt " + text); }
    void ereignisseVerarbeiten() override
    {
        if (onEvents)
            onEvents();
    }
};

struct RunSetup
{
    TempFolder folder;
    Frontend frontend;
    Umsetzungslauf lauf{frontend, [] { return *clubdb::Date::fromCivil(2024, 3, 7, 9, 5, 30); }};
    Laufeingaben eingaben;
    std::string definitionen = folder.file("wkak.zrv");

    RunSetup()
    {
        std::filesystem::create_directory(folder.path() / "export");
        eingaben.exportOrdner = folder.file("export") + "/";
        eingaben.vdbPfad = folder.file("Verein.vdb");
        eingaben.vdbOrdner = folder.path().string() + "/";
        clubdb::DatenbankErstellen(eingaben.vdbPfad);
        writeDefinitionsFile(definitionen);
    }

    void clubs(std::initializer_list<std::string> lines)
    {
        writeExportFile(eingaben.exportOrdner + "B_V_1.csv", lines);
        eingaben.dateien.vereine = {"B_V_1.csv", true};
    }

    std::string logPath() const { return folder.file("Log_20240307_0905.log"); }
};

} // namespace

TEST(UmsetzungslaufTest, RefusesToStartWithoutDefinitionsOrLog)
{
    RunSetup s;
    s.clubs({"1,04-001,Verein,V,,,,,,,Ort"});
    std::string leer = s.folder.file("leer.zrv");
    s.frontend.questions.answers = {questions::Answer::No, questions::Answer::No};
    EXPECT_EQ(s.lauf.start(s.eingaben, leer), Laufende::DefinitionenLeer);
    EXPECT_EQ(s.frontend.questions.asked.back().title, "Fehler");
    EXPECT_EQ(s.frontend.questions.asked.back().text,
              "Die Datei mit den Voreinstellungen der Disziplinen und Klassen ist (teilweise) leer\r\n"
              "Diese Daten werden zum Einlesen der Hochmeldungen und Startberechtigungen benötigt!");
    EXPECT_TRUE(s.frontend.events.empty());
    EXPECT_FALSE(std::filesystem::exists(s.logPath()));

    s.eingaben.vdbOrdner = s.folder.file("fehlt") + "/";
    EXPECT_EQ(s.lauf.start(s.eingaben, s.definitionen), Laufende::LogNichtAngelegt);
    EXPECT_EQ(s.frontend.questions.asked.back().text,
              "Die Logdatei " + s.folder.file("fehlt") + "/Log_20240307_0905.log konnte nicht angelegt werden!");
    EXPECT_TRUE(s.frontend.events.empty());
    EXPECT_TRUE(s.lauf.leerlauf());
}

TEST(UmsetzungslaufTest, RunsTheStepsWritesTheLogAndOffersIt)
{
    RunSetup s;
    s.clubs({"1,04-001,Verein,V,,,,,,,Ort", "1,04-001,Doppelt,D,,,,,,,Ort"});
    s.frontend.questions.answers = {questions::Answer::Yes};
    EXPECT_EQ(s.lauf.start(s.eingaben, s.definitionen), Laufende::Beendet);

    EXPECT_EQ(s.lauf.problemzahl(), 1);
    EXPECT_EQ(s.lauf.logPfad(), s.logPath());
    EXPECT_EQ(readLog(s.logPath()), "Starte Vidazerierung\r\n"
                                    "Umsetzen der Vereinsdaten\r\n"
                                    "Zeile  2\t1,04-001,Doppelt,D,,,,,,,Ort\r\n"
                                    " - Vereinsnummer 04-001 bereits eingetragen!\r\n"
                                    "2 Zeilen eingelesen, 2 Vereine angelegt\r\n"
                                    "Vereinsvidazerierung abgeschlossen\r\n"
                                    "\r\n");
    EXPECT_EQ(s.frontend.events, (std::vector<std::string>{"läuft", "fortschritt 1 / 1", "fortschritt 2 / 2",
                                                            "inhalt 2", "zeige " + s.logPath(), "steht"}));
    ASSERT_EQ(s.frontend.questions.asked.size(), 1u);
    EXPECT_EQ(s.frontend.questions.asked[0].title, "Logdatei");
    EXPECT_EQ(s.frontend.questions.asked[0].text, "Bei der Umwandlung der Exportdateien wurden Probleme festgestellt."
                                                  "\r\nSoll die Logdatei angezeigt werden?");
    EXPECT_EQ(*s.frontend.content.schuetzen, 0);
    EXPECT_TRUE(s.lauf.leerlauf());
}

TEST(UmsetzungslaufTest, WithoutLogNothingIsWrittenAndNothingOffered)
{
    RunSetup s;
    s.clubs({"1,04-001,Verein,,,,,,,,Ort"}); // a problem line: abbreviation missing
    s.lauf.logEin = false;
    EXPECT_EQ(s.lauf.start(s.eingaben, s.definitionen), Laufende::Beendet);
    EXPECT_EQ(s.lauf.problemzahl(), 1);
    EXPECT_TRUE(s.frontend.questions.asked.empty());
    for (const auto& entry : std::filesystem::directory_iterator(s.folder.path()))
        EXPECT_NE(entry.path().extension(), ".log");
}

TEST(UmsetzungslaufTest, AbbruchStopsTheStepAndIsClearedByTheNextStart)
{
    RunSetup s;
    s.clubs({"1,04-001,A,A,,,,,,,Ort", "1,04-002,B,B,,,,,,,Ort", "1,04-003,C,C,,,,,,,Ort"});
    s.frontend.onEvents = [&] { s.lauf.abbrechen(); };
    EXPECT_EQ(s.lauf.start(s.eingaben, s.definitionen), Laufende::Beendet);
    EXPECT_TRUE(s.lauf.abbruchAngefordert());
    EXPECT_EQ(*s.frontend.content.vereine, 1);
    EXPECT_NE(readLog(s.logPath()).find("1 Zeilen eingelesen, 1 Vereine angelegt\r\n"), std::string::npos);

    s.frontend.onEvents = nullptr;
    s.frontend.questions.answers = {questions::Answer::No}; // 04-001 is stored already: one problem line
    EXPECT_EQ(s.lauf.start(s.eingaben, s.definitionen), Laufende::Beendet);
    EXPECT_FALSE(s.lauf.abbruchAngefordert());
    EXPECT_EQ(*s.frontend.content.vereine, 4);
}
