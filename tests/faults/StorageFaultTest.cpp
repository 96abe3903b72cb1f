// Another program holds the club database under a running conversion. The run must end cleanly,
// tell the user, leave a sound database and count exactly what it stored. (A full disk, also when
// the indexes are built after the members, a log that cannot be written to its end, and every
// single write failing, are tried in WriteFaultTest.)

#include "faults/StorageFault.h"
#include "run/RunSetup.h"

using importer::Anzeige;

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
    EXPECT_TRUE(contains(r.log(), "Zeilen 1 bis 20 nicht gespeichert"));
    EXPECT_TRUE(r.frontend.errors().at(0).starts_with("Die Vereinsdaten konnten nicht gespeichert werden.\r\n3051 ; "));
    // stored, counted as stored, members stored, lines not stored (not the members that then find no club)
    EXPECT_EQ(std::tuple(r.count("Vereinsliste"), r.loggedCount("Vereine angelegt"), r.loggedCount("Schützen angelegt"),
                         r.lauf.vollstaendigkeit().nichtGespeichert()),
              std::tuple(0, 0, 0, 20));
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
        const std::string log = r.log();
        const std::regex locked("gesperrt oder der Zugriff ist nicht erlaubt");
        // stored, counted as stored, lines that say why, lines not stored
        EXPECT_EQ(std::tuple(r.count("Mitgliedschaft"), r.loggedCount("Schützen angelegt"),
                             std::distance(std::sregex_iterator(log.begin(), log.end(), locked), {}),
                             r.lauf.vollstaendigkeit().nichtGespeichert()),
                  std::tuple(0, 0, members, members));
        EXPECT_EQ(r.frontend.errors(),
                  std::vector<std::string>{"Die Mitgliederdaten konnten nicht gespeichert werden.\r\n"
                                           "3051 ; Die Datei ist gesperrt oder der Zugriff ist nicht "
                                           "erlaubt (database is locked)."});
        EXPECT_TRUE(contains(log, "Zweitmitgliedschaft nicht gefunden")); // the start-rights step ran
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
    EXPECT_EQ(std::tuple(r.count("Vereinsliste"), r.loggedCount("Vereine angelegt")), std::tuple(3, 3));
    EXPECT_TRUE(contains(r.log(), "Zeile  3\t" + clubLines(3)[2] +
                                      "\r\n - Vereinsnummer 04-003 konnte nicht geprüft "
                                      "werden: "));
}
