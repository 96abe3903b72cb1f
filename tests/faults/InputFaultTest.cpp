// The inputs of a run fail: an export file that is gone by the time Start is pressed or that
// cannot be read, a definitions file that is damaged, incomplete or locked. The user is told in
// German, nothing is converted from what could not be read, and nothing is written into a file
// that could not be read.

#include "FaultRun.h"
#include "batch/BatchCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

bool contains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts)
        if (text.find(part) != std::string::npos)
            return true;
    return false;
}

// Reading this file fails at once with an input/output error, as on a damaged stick.
constexpr const char* kUnreadable = "/proc/self/mem";

} // namespace

TEST(ExportFaultTest, AFileThatIsGoneIsReportedAndTheRunGoesOn)
{
    FaultRun r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(3));
    r.write("Z", startRightLines(1));
    std::filesystem::remove(r.exportFile("M"));             // between choosing the folder and Start
    r.frontend.questions.answers = {questions::Answer::No}; // the start right finds no membership

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.frontend.errors(), (std::vector<std::string>{"Datei " + r.exportFile("M") + " nicht gefunden!"}));
    const std::string log = r.log();
    EXPECT_NE(log.find("Umsetzen der Mitgliederdaten\r\n\r\nUmsetzen der Startberechtigungen"), std::string::npos)
        << log;
    EXPECT_EQ(r.count("Vereinsliste"), 2);
    EXPECT_EQ(r.count("Mitgliedschaft"), 0);
}

TEST(ExportFaultTest, AFolderThatIsGoneOrAFileThatCannotBeReadStoresNothingFromIt)
{
    FaultRun gone;
    gone.write("V", clubLines(2));
    gone.write("M", memberLines(3));
    std::filesystem::remove_all(gone.eingaben.exportOrdner);
    ASSERT_EQ(gone.start(), run::Laufende::Beendet);
    EXPECT_EQ(gone.frontend.errors().size(), 2u);
    EXPECT_EQ(gone.count("Vereinsliste"), 0);

    FaultRun unreadable;
    unreadable.write("V", clubLines(2));
    unreadable.write("M", memberLines(3));
    std::filesystem::remove(unreadable.exportFile("M"));
    std::filesystem::create_symlink(kUnreadable, unreadable.exportFile("M"));
    ASSERT_EQ(unreadable.start(), run::Laufende::Beendet);
    EXPECT_TRUE(contains(unreadable.frontend.errors(),
                         "Die Datei " + unreadable.exportFile("M") + " konnte nicht vollständig gelesen werden."));
    EXPECT_EQ(unreadable.count("Vereinsliste"), 2);
    EXPECT_EQ(unreadable.loggedCount("Schützen angelegt"), 0);
}

// A script learns from the exit code alone that the conversion is incomplete.
TEST(ExportFaultTest, TheBatchDoesNotReportAnIncompleteConversionAsSuccess)
{
    TempFolder folder;
    const std::string exportFolder = folder.file("export");
    std::filesystem::create_directory(exportFolder);
    writeExportFile(exportFolder + "/B_V_1.csv", {"1,04-001,SG Tell,SGT,,,,,,,Augsburg"});
    std::filesystem::create_symlink(kUnreadable, exportFolder + "/B_M_1.csv");
    writeDefinitionsFile(folder.file("wkak.zrv"));

    std::ostringstream out;
    std::ostringstream err;
    batch::Environment environment;
    environment.programFolder = folder.path().string();
    environment.dataFolder = folder.path().string();
    EXPECT_EQ(batch::run({exportFolder, folder.file("Verein.vdb"), folder.file("wkak.zrv")}, environment, out, err),
              batch::kNotWritable);
    EXPECT_NE(err.str().find("konnte nicht vollständig gelesen werden."), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("Vereine: 1\n"), std::string::npos);
}

namespace {

struct Damage
{
    const char* name;
    std::function<void(const std::string&)> apply;
};

void truncateTo(const std::string& path, std::uintmax_t size)
{
    std::filesystem::resize_file(path, size);
}

void execute(const std::string& path, const std::string& sql)
{
    clubdb::Connection::open(path).execute(sql);
}

const std::vector<Damage>& damages()
{
    static const std::vector<Damage> all = {
        {"no SQLite file", [](const std::string& p) { std::ofstream(p) << std::string(5000, 'x') << "\r\n"; }},
        {"empty", [](const std::string& p) { truncateTo(p, 0); }},
        {"cut in the header", [](const std::string& p) { truncateTo(p, 60); }},
        {"cut after the first page", [](const std::string& p) { truncateTo(p, 4096); }},
        {"cut in the last page", [](const std::string& p) { truncateTo(p, std::filesystem::file_size(p) - 1000); }},
        {"no class table", [](const std::string& p) { execute(p, "DROP TABLE Altersklassen"); }},
        {"no column SpoNr", [](const std::string& p) { execute(p, "ALTER TABLE Disziplinen DROP COLUMN SpoNr"); }},
        {"no column KlasseBis",
         [](const std::string& p) { execute(p, "ALTER TABLE Altersklassen DROP COLUMN KlasseBis"); }},
    };
    return all;
}

} // namespace

// A definitions file that cannot be read as a whole is reported, the run is refused, and the
// file stays exactly as it was unless the user asks twice for an empty one.
TEST(DefinitionsFaultTest, ADamagedFileIsReportedLeftAloneAndRefusesTheRun)
{
    for (const Damage& damage : damages()) {
        SCOPED_TRACE(damage.name);
        FaultRun r;
        r.write("V", clubLines(2));
        damage.apply(r.definitions);
        const std::string before = readBytes(r.definitions);
        r.frontend.questions.answers = {questions::Answer::No}; // create an empty file?

        EXPECT_EQ(r.start(), run::Laufende::DefinitionenLeer);
        ASSERT_FALSE(r.frontend.questions.asked.empty());
        EXPECT_EQ(r.frontend.questions.asked.front().title, "Zervik - Verbindungsfehler");
        EXPECT_EQ(r.frontend.questions.asked.front().text,
                  "Datei " + r.definitions +
                      " konnte nicht geöffnet werden oder ist beschädigt!\r\nSoll eine leere Datei angelegt werden?");
        EXPECT_TRUE(readBytes(r.definitions) == before);
        EXPECT_FALSE(std::filesystem::exists(r.logPath()));
        EXPECT_EQ(r.count("Vereinsliste"), 0);
    }

    FaultRun confirmed; // asked twice: the damaged file makes way for an empty one
    damages().front().apply(confirmed.definitions);
    confirmed.frontend.questions.answers = {questions::Answer::Yes, questions::Answer::Ok};
    EXPECT_EQ(confirmed.start(), run::Laufende::DefinitionenLeer);
    EXPECT_EQ(clubdb::Connection::open(confirmed.definitions).columns("Altersklassen").size(), 6u);
}

// Another program holds the definitions file. On this platform a file can be deleted while
// another program holds it open; the user's file must survive all the same, even when the
// user, believing it damaged, asks for an empty one.
TEST(DefinitionsFaultTest, ALockedFileIsNeverReplaced)
{
    for (const auto& answers :
         {std::deque{questions::Answer::No}, std::deque{questions::Answer::Yes, questions::Answer::Ok}}) {
        FaultRun r;
        r.write("V", clubLines(2));
        const std::string before = readBytes(r.definitions);
        clubdb::Connection holder = clubdb::Connection::open(r.definitions);
        holder.execute("BEGIN EXCLUSIVE");
        r.frontend.questions.answers = answers;

        EXPECT_EQ(r.start(), run::Laufende::DefinitionenLeer);
        holder.execute("COMMIT");
        EXPECT_TRUE(readBytes(r.definitions) == before); // not EXPECT_EQ: a failure would print the bytes
        // Asked twice, the user learns that the empty file cannot be made.
        std::vector<std::string> titles;
        for (const auto& asked : r.frontend.questions.asked)
            titles.push_back(asked.title);
        const std::vector<std::string> told =
            answers.size() == 1 ? std::vector<std::string>{"Zervik - Verbindungsfehler", "Fehler"}
                                : std::vector<std::string>{"Zervik - Verbindungsfehler", "Zervik - Sicherheitsabfrage",
                                                           "Zervik - Fehler", "Fehler"};
        EXPECT_EQ(titles, told);
        EXPECT_EQ(r.count("Vereinsliste"), 0);
    }
}

// A definitions path holding a NUL byte (from a garbled settings file) names, for the system,
// the file before the NUL. That file is not the definitions file and must never be replaced.
TEST(DefinitionsFaultTest, APathHoldingANulByteNamesNoFile)
{
    FaultRun r;
    r.write("V", clubLines(2));
    const std::string other = r.folder.file("andere.txt");
    std::ofstream(other) << "Daten eines anderen Programms";
    std::string pfad = other + std::string(1, '\0') + ".zrv";
    r.frontend.questions.answers = {questions::Answer::Yes, questions::Answer::Ok};
    EXPECT_EQ(r.lauf.start(r.eingaben, pfad), run::Laufende::DefinitionenLeer);
    EXPECT_TRUE(readBytes(other) == "Daten eines anderen Programms");
}
