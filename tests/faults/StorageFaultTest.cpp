// The club database or the conversion log fails under a running conversion: a full disk, a
// lock held by another program, a file that turns read-only, a log that cannot be written to
// the end. The run must end cleanly, tell the user, leave a sound database and count exactly
// what it stored.

#include "faults/StorageFault.h"
#include "run/RunSetup.h"
#include "uebersicht/Logleser.h"

using importer::Anzeige;

// The disk fills up in the middle of a step. The engine then gives up everything stored since
// the last commit, so the lines of that batch are lost although they went through: the step
// must say which lines were not stored, count only what is in the file, and tell the user.
TEST(DiskFullTest, TheStepReportsItAndCountsOnlyWhatWasStored)
{
    // the step, the closing record's word for what it stores, where it stores it, the data as the user is told
    const std::tuple<Anzeige, const char*, const char*, const char*> steps[] = {
        {Anzeige::Vereine, "Vereine angelegt", "Vereinsliste", "Vereinsdaten"},
        {Anzeige::Mitglieder, "Schützen angelegt", "Mitgliedschaft", "Mitgliederdaten"},
        {Anzeige::Startberechtigungen, "Startberechtigungen eingetragen", "StartBerecht", "Startberechtigungen"}};
    for (const auto& [step, counted, table, data] : steps) {
        SCOPED_TRACE(table);
        RunSetup r;
        // Enough lines in the broken step to fill a few pages. The second half of the members
        // brings the persons of the first half again, as members of another club.
        r.files(step == Anzeige::Vereine ? 300 : 2, 0, step == Anzeige::Startberechtigungen ? 150 : 0);
        std::vector<std::string> members = memberLines(150), again = memberLines(150, "04-002");
        members.insert(members.end(), again.begin(), again.end());
        if (step != Anzeige::Vereine)
            r.write("M", members);
        StorageFault fault(r.eingaben.vdbPfad);
        r.at(step, 100, [&] { fault.fillDisk(); });

        r.runToEnd();
        EXPECT_EQ(r.frontend.questions.asked.back().title, "Logdatei"); // the problems are offered
        // The lost lines name the engine's own reason, not a general one.
        EXPECT_TRUE(contains(r.log(), " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!\r\n"
                                      "\t- Datenbankfehler: database or disk is full\r\n"))
            << r.log().substr(0, 2000);
        EXPECT_EQ(r.loggedCount(counted), r.count(table));
        // The problem overview names every lost line, each once, as the count does.
        EXPECT_EQ(uebersicht::LogdateiLesen(r.logPath()).size(), static_cast<std::size_t>(r.lauf.problemzahl()));
        EXPECT_TRUE(anyContains(r.frontend.errors(), "Die " + std::string(data) + " konnten nicht"));
        // Nothing stored refers to a record that was given up.
        EXPECT_EQ(r.count("Mitgliedschaft WHERE Mgl_Schütze_ID NOT IN (SELECT M_ID FROM Schuetzendaten)"), 0);
        EXPECT_EQ(r.count("StartBerecht WHERE StB_Mgl_ID NOT IN (SELECT Mgl_ID FROM Mitgliedschaft)"), 0);
    }
}

// The indexes that the members step builds after its lines find the disk full. The persons and
// memberships stay stored, the club database stays sound, and the user is told why the indexes
// are missing.
TEST(DiskFullTest, IndexesThatCannotBeBuiltAfterTheMembersAreReported)
{
    RunSetup r;
    r.files(2, 300);
    StorageFault fault(r.eingaben.vdbPfad);
    r.at(Anzeige::Mitglieder, 300, [&] { fault.fillDiskOfLaterConnections(); });

    r.runToEnd();
    EXPECT_EQ(r.frontend.errors(), std::vector<std::string>{"Die Indizes der Vereinsdatenbank konnten nicht angelegt "
                                                            "werden.\r\n13 ; database or disk is full"});
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 300);
    EXPECT_EQ(r.count("Schuetzendaten"), 300);
    EXPECT_EQ(r.count("sqlite_schema WHERE name IN ('IdxNamen', 'IdxVereinID')"), 0);
}

// Another program reads the club database while the clubs step runs and keeps it past the
// step's end: the step cannot commit. What it counted is then not in the file, and the members
// step that follows finds no club.
TEST(LockedDatabaseTest, AReaderKeepsTheClubsStepFromCommitting)
{
    RunSetup r;
    r.files(20, 3);
    clubdb::Connection reader = clubdb::Connection::open(r.eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
    r.at(Anzeige::Vereine, 1, [&] { reader.execute("BEGIN; SELECT count(*) FROM Vereinsliste"); });
    r.frontend.afterStep = [&](int step) { reader.execute(step == 1 ? "COMMIT" : ""); };

    r.runToEnd();
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
    r.files(2, 5, 1);
    clubdb::Connection writer = clubdb::Connection::open(r.eingaben.vdbPfad);
    r.frontend.afterStep = [&](int step) { writer.execute(step == 1 ? "BEGIN EXCLUSIVE" : step == 2 ? "COMMIT" : ""); };

    r.runToEnd();
    EXPECT_EQ(r.count("Mitgliedschaft"), 0);
    EXPECT_EQ(r.loggedCount("Schützen angelegt"), 0);
    const std::string log = r.log();
    const std::string locked = "gesperrt oder der Zugriff ist nicht erlaubt";
    int reported = 0;
    for (std::size_t at = log.find(locked); at != std::string::npos; at = log.find(locked, at + 1))
        ++reported;
    EXPECT_EQ(reported, 5);
    EXPECT_EQ(r.frontend.errors(), std::vector<std::string>{"Die Mitgliederdaten konnten nicht gespeichert werden.\r\n"
                                                            "3051 ; Die Datei ist gesperrt oder der Zugriff ist nicht "
                                                            "erlaubt (database is locked)."});
    EXPECT_TRUE(contains(log, "Zweitmitgliedschaft nicht gefunden")); // the start-rights step ran
}

// The search for a club number stored already fails: the line says so, and the club is stored
// all the same. The clubs are searched by query here, the way that reads the file for every line.
TEST(LockedDatabaseTest, AClubWhoseSearchFailsIsStoredAllTheSame)
{
    RunSetup r;
    r.lauf.suchverfahren = importer::Suchverfahren::Abfragen;
    r.files(3);
    StorageFault fault(r.eingaben.vdbPfad);
    r.at(Anzeige::Vereine, 1, [&] { fault.lockSearches(); });

    r.runToEnd();
    EXPECT_EQ(r.count("Vereinsliste"), 3);
    EXPECT_EQ(r.loggedCount("Vereine angelegt"), 3);
    EXPECT_TRUE(contains(r.log(), "Zeile  3\t" + clubLines(3)[2] +
                                      "\r\n - Vereinsnummer 04-003 konnte nicht geprüft "
                                      "werden: "));
}

// The club database turns read-only in the middle of the members step: the lines before are
// kept, every later line says why it was not stored.
TEST(ReadOnlyDatabaseTest, LinesAfterTheChangeAreReportedAndTheRestIsKept)
{
    RunSetup r;
    r.files(2, 30);
    StorageFault fault(r.eingaben.vdbPfad);
    r.at(Anzeige::Mitglieder, 10, [&] { fault.makeReadOnly(); });

    r.runToEnd();
    EXPECT_EQ(r.rows("SELECT count(*) FROM Mitgliedschaft UNION ALL SELECT count(*) FROM Schuetzendaten"),
              (std::vector<std::string>{"10", "10"}));
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
        RunSetup r;
        std::vector<std::string> clubs = clubLines(20);
        clubs.insert(clubs.end(), problemLines, "1,,Verein ohne Nummer und Ort,SV"); // problem lines of the log
        r.write("V", clubs);
        std::filesystem::create_symlink("/dev/full", r.logPath());

        r.runToEnd();
        EXPECT_FALSE(r.lauf.logFehlerfrei());
        EXPECT_EQ(r.frontend.errors(), std::vector<std::string>{"Die Logdatei " + r.logPath() +
                                                                " konnte nicht vollständig geschrieben werden!"});
        EXPECT_EQ(r.count("Vereinsliste"), 20);
        EXPECT_TRUE(r.lauf.leerlauf());
    }
}
