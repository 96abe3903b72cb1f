// Another program holds the club database under a running conversion, or the disk is full when the
// indexes are built. The run must end cleanly, tell the user, leave a sound database and count
// exactly what it stored. (A full disk, a log
// that cannot be written to its end, and every single write failing, are tried in WriteFaultTest.)

#include "faults/StorageFault.h"
#include "run/RunSetup.h"

using importer::Anzeige;

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
    EXPECT_EQ(r.lauf.vollstaendigkeit().nichtGespeichert(), 20); // not the members that then find no club
}

// Another program writes to the club database during the whole members step. Holding it
// exclusively, it keeps the step from even opening it; holding it for its own writes, it keeps the
// step from beginning a transaction, and every write of the step then fails on its own. Either
// way every line says why it was not stored, the user is told once, and the next step works again
// once the lock is gone.
TEST(LockedDatabaseTest, AWriterLocksTheMembersStepOut)
{
    // how the writer holds the file; member lines (each write waits for the lock a second)
    const std::pair<const char*, int> rows[] = {{"BEGIN EXCLUSIVE", 5}, {"BEGIN IMMEDIATE", 1}};
    for (const auto& [lock, members] : rows) {
        SCOPED_TRACE(lock);
        RunSetup r;
        r.files(2, members, 1);
        clubdb::Connection writer = clubdb::Connection::open(r.eingaben.vdbPfad);
        r.frontend.afterStep = [&](int step) { writer.execute(step == 1 ? lock : step == 2 ? "COMMIT" : ""); };

        r.runToEnd();
        EXPECT_EQ(r.count("Mitgliedschaft"), 0);
        EXPECT_EQ(r.loggedCount("Schützen angelegt"), 0);
        const std::string log = r.log();
        const std::string locked = "gesperrt oder der Zugriff ist nicht erlaubt";
        int reported = 0;
        for (std::size_t at = log.find(locked); at != std::string::npos; at = log.find(locked, at + 1))
            ++reported;
        EXPECT_EQ(reported, members);
        EXPECT_EQ(r.frontend.errors(),
                  std::vector<std::string>{"Die Mitgliederdaten konnten nicht gespeichert werden.\r\n"
                                           "3051 ; Die Datei ist gesperrt oder der Zugriff ist nicht "
                                           "erlaubt (database is locked)."});
        EXPECT_TRUE(contains(log, "Zweitmitgliedschaft nicht gefunden")); // the start-rights step ran
        EXPECT_EQ(r.lauf.vollstaendigkeit().nichtGespeichert(), members);
    }
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
