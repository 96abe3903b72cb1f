// The club database or the conversion log fails under a running conversion: a full disk, a
// lock held by another program, a file that turns read-only, a log that cannot be written to
// the end. The run must end cleanly, tell the user, leave a sound database and count exactly
// what it stored.

#include "faults/StorageFault.h"
#include "run/RunSetup.h"

#include <gtest/gtest.h>

using importer::Anzeige;

namespace {

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
    RunSetup r;
    // Enough lines in the broken step to fill a few pages. The second half of the members brings
    // the persons of the first half again, as members of another club.
    r.write("V", clubLines(step.anzeige == Anzeige::Vereine ? 300 : 2));
    if (step.anzeige != Anzeige::Vereine) {
        std::vector<std::string> members = memberLines(150), again = memberLines(150, "04-002");
        members.insert(members.end(), again.begin(), again.end());
        r.write("M", members);
    }
    if (step.anzeige == Anzeige::Startberechtigungen)
        r.write("Z", startRightLines(150));
    StorageFault fault(r.eingaben.vdbPfad);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == step.anzeige && line == 100)
            fault.fillDisk();
    };

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.frontend.questions.asked.back().title, "Logdatei"); // the problems are offered
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_TRUE(contains(r.log(), "database or disk is full")) << r.log().substr(0, 2000);
    EXPECT_TRUE(contains(r.log(), " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!"));
    EXPECT_EQ(r.loggedCount(step.counted), r.count(step.table));
    EXPECT_TRUE(anyContains(r.frontend.errors(), "Die " + std::string(step.data) + " konnten nicht"));
    // Nothing stored refers to a record that was given up.
    EXPECT_EQ(r.count("Mitgliedschaft WHERE Mgl_Schütze_ID NOT IN (SELECT M_ID FROM Schuetzendaten)"), 0);
    EXPECT_EQ(r.count("StartBerecht WHERE StB_Mgl_ID NOT IN (SELECT Mgl_ID FROM Mitgliedschaft)"), 0);
}

INSTANTIATE_TEST_SUITE_P(EachStep, DiskFullTest, testing::ValuesIn(kSteps),
                         [](const testing::TestParamInfo<Step>& row) { return std::string(row.param.name); });

// Another program reads the club database while the clubs step runs and keeps it past the
// step's end: the step cannot commit. What it counted is then not in the file, and the members
// step that follows finds no club.
TEST(LockedDatabaseTest, AReaderKeepsTheClubsStepFromCommitting)
{
    RunSetup r;
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

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(r.count("Vereinsliste"), 0);
    EXPECT_EQ(r.loggedCount("Vereine angelegt"), 0);
    EXPECT_TRUE(contains(r.log(), "Zeilen 1 bis 20 nicht gespeichert"));
    EXPECT_TRUE(anyContains(r.frontend.errors(), "Die Vereinsdaten konnten nicht gespeichert werden.\r\n3051 ; "));
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 0);
}

// Another program writes to the club database during the whole members step: the step cannot
// even open it. Every line says why it was not stored, the user is told once, and the next
// step works again once the lock is gone.
TEST(LockedDatabaseTest, AWriterLocksTheMembersStepOut)
{
    RunSetup r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(5));
    r.write("Z", {"1,04-001,04-001-0001,04-002,04-002-0001,1.10"});
    clubdb::Connection writer = clubdb::Connection::open(r.eingaben.vdbPfad);
    r.frontend.afterStep = [&](int step) { writer.execute(step == 1 ? "BEGIN EXCLUSIVE" : step == 2 ? "COMMIT" : ""); };

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
    EXPECT_EQ(r.frontend.errors(), std::vector<std::string>{"Die Mitgliederdaten konnten nicht gespeichert werden.\r\n"
                                                            "3051 ; Die Datei ist gesperrt oder der Zugriff ist nicht "
                                                            "erlaubt (database is locked)."});
    EXPECT_TRUE(contains(log, "Zweitmitgliedschaft nicht gefunden")); // the start-rights step ran
}

// The club database turns read-only in the middle of the members step: the lines before are
// kept, every later line says why it was not stored.
TEST(ReadOnlyDatabaseTest, LinesAfterTheChangeAreReportedAndTheRestIsKept)
{
    RunSetup r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(30));
    StorageFault fault(r.eingaben.vdbPfad);
    r.frontend.onLine = [&](Anzeige anzeige, int line) {
        if (anzeige == Anzeige::Mitglieder && line == 10)
            fault.makeReadOnly();
    };

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(r.count("Mitgliedschaft"), 10);
    EXPECT_EQ(r.count("Schuetzendaten"), 10);
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 10);
    for (const char* part : {"Zeile  11\t", "Zeile  30\t", "readonly database"})
        EXPECT_TRUE(contains(r.log(), part)) << part;
}

// The conversion log cannot be written to its end: a full disk under the log (here the device
// that is always full). The conversion itself goes on to the end, and the user is told that
// the log is incomplete, whether the failure shows in the middle of the run or at its end.
TEST(LogFaultTest, ALogThatCannotBeWrittenIsReportedAndTheConversionCompletes)
{
    for (const int problemLines : {1, 200}) {
        SCOPED_TRACE(problemLines);
        RunSetup r;
        std::vector<std::string> clubs = clubLines(20);
        clubs.insert(clubs.end(), problemLines, "1,,Verein ohne Nummer und Ort,SV"); // problem lines of the log
        r.write("V", clubs);
        std::filesystem::create_symlink("/dev/full", r.logPath());

        ASSERT_EQ(r.start(), run::Laufende::Beendet);
        EXPECT_FALSE(r.lauf.logFehlerfrei());
        EXPECT_EQ(r.frontend.errors(), std::vector<std::string>{"Die Logdatei " + r.logPath() +
                                                                " konnte nicht vollständig geschrieben werden!"});
        EXPECT_EQ(r.count("Vereinsliste"), 20);
        EXPECT_TRUE(r.lauf.leerlauf());
    }
}
