// The club database fails under a running conversion: a full disk, a lock held by another
// program. The run must end cleanly, tell the user, leave a sound database and count exactly what
// it stored. (A log that cannot be written to its end, and every single write failing, are tried
// in WriteFaultTest.)

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
        // The end of the run counts the lines that the log names as given up.
        const std::string log = r.log();
        std::int64_t lost = 0;
        const std::regex range("Zeilen? (\\d+)(?: bis (\\d+))? nicht gespeichert, die");
        for (std::sregex_iterator it(log.begin(), log.end(), range), end; it != end; ++it)
            lost += std::stoll((*it)[(*it)[2].matched ? 2 : 1]) - std::stoll((*it)[1]) + 1;
        EXPECT_EQ(r.lauf.vollstaendigkeit().nichtGespeichert(), lost);
        // Nothing stored refers to a record that was given up.
        EXPECT_EQ(r.count("Mitgliedschaft WHERE Mgl_Schütze_ID NOT IN (SELECT M_ID FROM Schuetzendaten)"), 0);
        EXPECT_EQ(r.count("StartBerecht WHERE StB_Mgl_ID NOT IN (SELECT Mgl_ID FROM Mitgliedschaft)"), 0);
    }
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
