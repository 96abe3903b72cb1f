// The inputs of a run fail: an export file that is gone by the time Start is pressed or that
// cannot be read, a definitions file that is locked or named by a garbled path (damaged ones are
// refused by the definitions load itself). The user is told in German, nothing is converted from
// what could not be read, and nothing is written into a file that could not be read.

#include "batch/BatchCommand.h"
#include "run/RunSetup.h"

#include <sstream>

using questions::Answer;
using Texts = std::vector<std::string>;

TEST(ExportFaultTest, AFileThatIsGoneIsReportedAndTheRunGoesOn)
{
    RunSetup r;
    r.files(2, 3, 1); // the start right finds no membership
    std::filesystem::remove(r.exportFile("M"));
    r.runToEnd();
    EXPECT_EQ(r.frontend.errors(), Texts{"Datei " + r.exportFile("M") + " nicht gefunden!"});
    EXPECT_EQ(r.lauf.vollstaendigkeit().nichtGespeichert(), 1); // the first line, which could not be read
    EXPECT_TRUE(contains(r.log(), "Umsetzen der Mitgliederdaten\r\n\r\nUmsetzen der Startberechtigungen")) << r.log();
    EXPECT_EQ(r.rows("SELECT count(*) FROM Vereinsliste UNION ALL SELECT count(*) FROM Mitgliedschaft"),
              (Texts{"2", "0"}));
}

// Reading the file fails at once with an input/output error, as on a damaged stick. A script
// learns from the exit code alone that the conversion is incomplete.
TEST(ExportFaultTest, AFileThatCannotBeReadStoresNothingFromIt)
{
    RunSetup r;
    r.files(2, 3);
    std::filesystem::remove(r.exportFile("M"));
    std::filesystem::create_symlink("/proc/self/mem", r.exportFile("M"));
    std::ostringstream out, err;
    const batch::Environment environment{r.folder.path().string(), r.folder.path().string()};
    EXPECT_EQ(batch::run({r.eingaben.exportOrdner, r.folder.file("Neu.vdb"), r.definitions}, environment, out, err), 3);
    EXPECT_TRUE(
        contains(err.str(), "Fehler: Die Datei " + r.exportFile("M") + " konnte nicht vollständig gelesen werden.\n"))
        << err.str();
    EXPECT_TRUE(err.str().ends_with("\nFehler: Die Vereinsdatenbank ist unvollständig: 1 Zeilen konnten wegen eines "
                                    "Datei- oder Speicherfehlers nicht gespeichert werden.\n"))
        << err.str();
    EXPECT_TRUE(contains(out.str(), "Vereine: 2\nSchützen: 0\n")) << out.str();
}

// Another program holds the definitions file. On this platform a file can be deleted while
// another program holds it open; the user's file must survive all the same, even when the
// user, believing it damaged, asks for an empty one. Asked twice, the user learns that the
// empty file cannot be made.
TEST(DefinitionsFaultTest, ALockedFileIsNeverReplaced)
{
    const std::pair<std::deque<Answer>, Texts> rows[] = {
        {{Answer::No}, {"Zervik - Verbindungsfehler", "Fehler"}},
        {{Answer::Yes, Answer::Ok},
         {"Zervik - Verbindungsfehler", "Zervik - Sicherheitsabfrage", "Zervik - Fehler", "Fehler"}},
    };
    for (const auto& [answers, told] : rows) {
        RunSetup r;
        r.files(2);
        const std::string before = readBytes(r.definitions);
        clubdb::Connection holder = clubdb::Connection::open(r.definitions);
        holder.execute("BEGIN EXCLUSIVE");
        r.frontend.questions.answers = answers;
        EXPECT_EQ(r.start(), run::Laufende::DefinitionenLeer);
        holder.execute("COMMIT");
        EXPECT_TRUE(readBytes(r.definitions) == before); // not EXPECT_EQ: a failure would print the bytes
        Texts titles;
        for (const auto& asked : r.frontend.questions.asked)
            titles.push_back(asked.title);
        EXPECT_EQ(titles, told);
        EXPECT_EQ(r.count("Vereinsliste"), 0);
    }
}

// A definitions path holding a NUL byte (from a garbled settings file) names, for the system,
// the file before the NUL. That file is not the definitions file and must never be replaced.
TEST(DefinitionsFaultTest, APathHoldingANulByteNamesNoFile)
{
    RunSetup r;
    r.files(2);
    const std::string other = r.folder.file("andere.txt");
    std::ofstream(other) << "Daten eines anderen Programms";
    std::string pfad = other + std::string(1, '\0') + ".zrv";
    r.frontend.questions.answers = {Answer::Yes, Answer::Ok};
    EXPECT_EQ(r.lauf.start(r.eingaben, pfad), run::Laufende::DefinitionenLeer);
    EXPECT_TRUE(readBytes(other) == "Daten eines anderen Programms");
}
