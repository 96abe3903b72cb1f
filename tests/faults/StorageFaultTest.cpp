// The club database or the conversion log fails under a running conversion: a full disk, a
// lock held by another program, a file that turns read-only, a log that cannot be written to
// the end. The run must end cleanly, tell the user, leave a sound database and count exactly
// what it stored.

#include "FaultRun.h"
#include "uebersicht/Logleser.h"

#include <gtest/gtest.h>

using importer::Anzeige;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool anyContains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts)
        if (contains(text, part))
            return true;
    return false;
}

struct Step
{
    const char* name;
    Anzeige anzeige;
    const char* counted; // the closing record's word for what the step stores
    const char* table;   // where it stores it
    const char* data;    // "Vereinsdaten", as the user is told
};

const Step kSteps[] = {
    {"Vereine", Anzeige::Vereine, "Vereine angelegt", "Vereinsliste", "Vereinsdaten"},
    {"Mitglieder", Anzeige::Mitglieder, "Schützen angelegt", "Mitgliedschaft", "Mitgliederdaten"},
    {"Startrechte", Anzeige::Startberechtigungen, "Startberechtigungen eingetragen", "StartBerecht",
     "Startberechtigungen"},
};

// The files of a run that reaches the given step with enough lines to fill a few pages.
void writeFilesUpTo(FaultRun& r, Anzeige step)
{
    r.write("V", step == Anzeige::Vereine ? clubLines(300) : clubLines(2));
    if (step != Anzeige::Vereine) {
        // The second half brings the persons of the first half again, as members of another club.
        std::vector<std::string> members = memberLines(150);
        for (const std::string& line : memberLines(150, "04-002"))
            members.push_back(line);
        r.write("M", members);
    }
    if (step == Anzeige::Startberechtigungen)
        r.write("Z", startRightLines(150));
}

void PrintTo(const Step& step, std::ostream* out)
{
    *out << step.name;
}

class DiskFullTest : public testing::TestWithParam<Step>
{
};

} // namespace

// The disk fills up in the middle of a step. The engine then gives up everything stored since
// the last commit, so the lines of that batch are lost although they went through: the step
// must say which lines were not stored, count only what is in the file, and tell the user.
TEST_P(DiskFullTest, TheStepReportsItAndCountsOnlyWhatWasStored)
{
    const Step& step = GetParam();
    FaultRun r;
    writeFilesUpTo(r, step.anzeige);
    StorageFault fault(r.eingaben.vdbPfad);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == step.anzeige && line == 100)
            fault.fillDisk();
    };
    r.frontend.questions.answers = {questions::Answer::No}; // show the log?

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.frontend.questions.asked.back().title, "Logdatei"); // the problems are offered
    EXPECT_EQ(r.integrity(), "ok");
    const std::string log = r.log();
    EXPECT_TRUE(contains(log, "database or disk is full")) << log.substr(0, 2000);
    EXPECT_TRUE(contains(log, " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!"));
    EXPECT_EQ(r.loggedCount(step.counted), r.count(step.table));
    // The problem overview names every lost line, each once, as the count does.
    EXPECT_EQ(uebersicht::LogdateiLesen(r.logPath()).size(), static_cast<std::size_t>(r.lauf.problemzahl()));
    EXPECT_TRUE(anyContains(r.frontend.errors(), "Die " + std::string(step.data) + " konnten nicht"));
    // Nothing stored refers to a record that was given up.
    EXPECT_EQ(r.count("Mitgliedschaft WHERE Mgl_Schütze_ID NOT IN (SELECT M_ID FROM Schuetzendaten)"), 0);
    EXPECT_EQ(r.count("StartBerecht WHERE StB_Mgl_ID NOT IN (SELECT Mgl_ID FROM Mitgliedschaft)"), 0);
}

INSTANTIATE_TEST_SUITE_P(EachStep, DiskFullTest, testing::ValuesIn(kSteps),
                         [](const testing::TestParamInfo<Step>& row) { return std::string(row.param.name); });

// Another program reads the club database while the clubs step runs and keeps it past the
// step's end: the step cannot commit. What it counted is then not in the file.
TEST(LockedDatabaseTest, AReaderKeepsTheClubsStepFromCommitting)
{
    FaultRun r;
    r.write("V", clubLines(20));
    r.write("M", memberLines(3));
    clubdb::Connection reader = clubdb::Connection::open(r.eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == Anzeige::Vereine && line == 1)
            reader.execute("BEGIN; SELECT count(*) FROM Vereinsliste");
    };
    r.frontend.afterStep = [&](int step) {
        if (step == 1)
            reader.execute("COMMIT");
    };
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(r.count("Vereinsliste"), 0);
    EXPECT_EQ(r.loggedCount("Vereine angelegt"), 0);
    EXPECT_TRUE(contains(r.log(), "Zeilen 1 bis 20 nicht gespeichert"));
    EXPECT_TRUE(anyContains(r.frontend.errors(), "Die Vereinsdaten konnten nicht gespeichert werden.\r\n3051 ; "));
    // The members step that follows finds no club and says so for every line.
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 0);
}

// Another program writes to the club database during the whole members step: the step cannot
// even open it. Every line says why it was not stored, the user is told once, and the next
// step works again once the lock is gone.
TEST(LockedDatabaseTest, AWriterLocksTheMembersStepOut)
{
    FaultRun r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(5));
    r.write("Z", {"1,04-001,04-001-0001,04-002,04-002-0001,1.10"});
    clubdb::Connection writer = clubdb::Connection::open(r.eingaben.vdbPfad);
    r.frontend.afterStep = [&](int step) {
        if (step == 1)
            writer.execute("BEGIN EXCLUSIVE");
        if (step == 2)
            writer.execute("COMMIT");
    };
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(r.count("Mitgliedschaft"), 0);
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 0);
    const std::string log = r.log();
    std::size_t reported = 0;
    for (std::size_t at = 0; (at = log.find("gesperrt oder der Zugriff ist nicht erlaubt", at)) != std::string::npos;
         ++at)
        ++reported;
    EXPECT_EQ(reported, 5u);
    EXPECT_TRUE(anyContains(r.frontend.errors(), "Die Mitgliederdaten konnten nicht gespeichert werden.\r\n3051 ; "));
    EXPECT_TRUE(contains(log, "Zweitmitgliedschaft nicht gefunden")); // the start-rights step ran
}

// The search for a club number stored already fails: the line says so, and the club is stored
// all the same.
TEST(LockedDatabaseTest, AClubWhoseSearchFailsIsStoredAllTheSame)
{
    FaultRun r;
    r.write("V", clubLines(3));
    StorageFault fault(r.eingaben.vdbPfad);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == Anzeige::Vereine && line == 1)
            fault.lockSearches();
    };
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.count("Vereinsliste"), 3);
    EXPECT_EQ(r.loggedCount("Vereine angelegt"), 3);
    EXPECT_TRUE(contains(r.log(), "Zeile  3\t" + clubLines(3)[2] + "\r\n - Vereinsnummer 04-003 konnte nicht geprüft "
                                  "werden: "));
}

// The club database turns read-only in the middle of the members step: the lines before are
// kept, every later line says why it was not stored.
TEST(ReadOnlyDatabaseTest, LinesAfterTheChangeAreReportedAndTheRestIsKept)
{
    FaultRun r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(30));
    StorageFault fault(r.eingaben.vdbPfad);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == Anzeige::Mitglieder && line == 10)
            fault.makeReadOnly();
    };
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(r.count("Mitgliedschaft"), 10);
    EXPECT_EQ(r.count("Schuetzendaten"), 10);
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 10);
    EXPECT_TRUE(contains(r.log(), "Zeile  11\t"));
    EXPECT_TRUE(contains(r.log(), "Zeile  30\t"));
    EXPECT_TRUE(contains(r.log(), "readonly database"));
}

// The conversion log cannot be written to its end: a full disk under the log (here the device
// that is always full). The conversion itself goes on to the end, and the user is told that
// the log is incomplete, whether the failure shows in the middle of the run or at its end.
TEST(LogFaultTest, ALogThatCannotBeWrittenIsReportedAndTheConversionCompletes)
{
    for (const int problemLines : {1, 200}) {
        SCOPED_TRACE(problemLines);
        FaultRun r;
        std::vector<std::string> clubs = clubLines(20);
        for (int i = 0; i < problemLines; ++i)
            clubs.push_back("1,,Verein ohne Nummer und Ort,SV"); // a problem line of the log
        r.write("V", clubs);
        std::filesystem::create_symlink("/dev/full", r.logPath());
        r.frontend.questions.answers = {questions::Answer::No};

        ASSERT_EQ(r.start(), run::Laufende::Beendet);
        EXPECT_FALSE(r.lauf.logFehlerfrei());
        EXPECT_TRUE(anyContains(r.frontend.errors(),
                                "Die Logdatei " + r.logPath() + " konnte nicht vollständig geschrieben werden!"));
        EXPECT_EQ(r.count("Vereinsliste"), 20);
        EXPECT_TRUE(r.lauf.leerlauf());
    }
}
