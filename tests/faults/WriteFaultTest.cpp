// The disk fails under a conversion of the batch program: every write and sync of the club
// database, its journal and the log of a small conversion is made to fail in turn, once and as a
// full disk, with and without --replace. Whatever write fails, the program must not crash, must
// report success only with the very result of a fault-free run and name the failure otherwise,
// must leave only sound club databases whose counts the progress and the log tell truly, must never
// touch the definitions file, and under --replace must keep the old club database unless the new
// one is complete.

#include "batch/BatchCommand.h"
#include "faults/WriteFaults.h"
#include "import/Vollstaendigkeit.h"
#include "run/RunSetup.h"
#include "uebersicht/Logleser.h"

#include <sstream>

namespace {

// Standard error of the batch program, which acts (fills the disk) once a text appears on it: that
// is how a test in the same process reaches a chosen step of a run.
struct FillDiskOn : std::stringbuf
{
    std::string text; // empty: never
    std::function<void()> action;

    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        const std::streamsize written = std::stringbuf::xsputn(s, n);
        if (!text.empty() && str().find(text) != std::string::npos) {
            action();
            text.clear();
        }
        return written;
    }
};

// A folder with the definitions, an export and a club database "Verein.vdb" that the batch program
// creates or, with --replace, replaces. The export: clubs, members of 04-001 again as second
// members of 04-002, their start rights, and problem lines of every step, long enough to fill more
// than one of the log's writes.
struct BatchRun : RunSetup
{
    std::string database = eingaben.vdbPfad;
    std::string kept = folder.file("Verein.unvollständig.vdb");
    WriteFaults faults{database};
    std::atomic<bool> interrupted{false};
    std::ostringstream out;
    FillDiskOn err;

    BatchRun()
    {
        std::vector<std::string> clubs = clubLines(4), members = memberLines(8), second = memberLines(8, "04-002");
        std::vector<std::string> rights = startRightLines(8);
        clubs.push_back("1,04-101,Ohne Kürzel,,,,,,,,Ort");
        members.insert(members.end(), second.begin(), second.end());
        for (const char* name : {"Fremd", "Anders", "Weit"})
            members.push_back(memberLine("04-999", "04-999-0001", name, "Hans", std::string(1000, 'x')));
        rights.push_back("1,04-001,04-001-0001,04-002,04-001-0001,9.99 " + std::string(1000, 'x'));
        write("V", clubs);
        write("M", members);
        write("Z", rights);
        err.action = [this] { faults.fillDisk(); };
    }

    // Everything but the export and the definitions goes; with old, an old club database stands.
    void prepare(const std::string& old)
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().filename() != "export" && entry.path().string() != definitions)
                std::filesystem::remove_all(entry.path());
        if (!old.empty())
            std::ofstream(database, std::ios::binary) << old;
    }

    // Runs the batch program in this process, its progress on a terminal.
    int run(bool replace)
    {
        std::vector<std::string> args{eingaben.exportOrdner, database, definitions};
        if (replace)
            args.insert(args.begin(), "--replace");
        std::ostream errStream(&err);
        out.str("");
        err.str("");
        return batch::run(args,
                          {folder.path().string(), folder.path().string(), true, &interrupted, faults.logOpener()}, out,
                          errStream);
    }

    std::string logFile() const { return names(".log").empty() ? "" : folder.file(names(".log")[0]); }
    std::string logText() const { return readBytes(logFile()); }
};

// The number in text right before the first end after from; empty when there is none.
std::string numberBefore(const std::string& text, const std::string& end, std::size_t from = 0)
{
    const std::size_t at = from == std::string::npos ? from : text.find(end, from);
    const std::size_t begin = at == std::string::npos ? at : text.find_last_not_of("0123456789", at - 1) + 1;
    return at == std::string::npos ? "" : text.substr(begin, at - begin);
}

// What the run tells is what the file holds. The progress ("Mitglieder: 19 / 16") and the log's
// closing records ("19 Zeilen eingelesen, 16 Schützen angelegt") count the clubs, the memberships
// of the members step (the start-rights step marks its own as having a pass) and the start rights;
// nothing stored refers to a record that was given up. A log written to its end names as given up
// ("Zeilen 1 bis 19 nicht gespeichert") the lines that the message calls lost, and the problem
// overview read from it names as many lines as the summary counts.
void expectToldTruly(const std::string& database, const BatchRun& r, const std::string& log)
{
    const std::string err = r.err.str();
    EXPECT_EQ(queryRows(database, "SELECT count(*) FROM Mitgliedschaft WHERE Mgl_Schütze_ID NOT IN (SELECT M_ID FROM "
                                  "Schuetzendaten) UNION ALL SELECT count(*) FROM StartBerecht WHERE StB_Mgl_ID NOT "
                                  "IN (SELECT Mgl_ID FROM Mitgliedschaft)"),
              (std::vector<std::string>{"0", "0"}));
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {"Vereine: ", " Vereine angelegt", "SELECT count(*) FROM Vereinsliste"},
        {"Mitglieder: ", " Schützen angelegt", "SELECT count(*) FROM Mitgliedschaft WHERE Mgl_Pass = 0"},
        {"Startberechtigungen: ", " Startberechtigungen eingetragen", "SELECT count(*) FROM StartBerecht"}};
    for (const auto& [step, record, sql] : steps) {
        const std::string held = queryRows(database, sql).at(0);
        for (const std::string& told : {numberBefore(err, "\n", err.find(step)), numberBefore(log, record)})
            EXPECT_TRUE(told.empty() || told == held) << step << told << " statt " << held;
    }
    if (log.empty() || contains(err, " konnte nicht vollständig geschrieben werden!"))
        return;
    std::int64_t lost = 0;
    const std::regex range("Zeilen? (\\d+)(?: bis (\\d+))? nicht gespeichert, die Vereinsdatenbank hat sie verworfen!");
    for (std::sregex_iterator it(log.begin(), log.end(), range), end; it != end; ++it)
        lost += std::stoll((*it)[(*it)[2].matched ? 2 : 1]) - std::stoll((*it)[1]) + 1;
    EXPECT_EQ(numberBefore(err, " Zeilen konnten wegen"), lost ? std::to_string(lost) : "");
    EXPECT_EQ(lost > 0, contains(err, " konnten nicht gespeichert werden.\n")); // the step's own message
    EXPECT_FALSE(contains(log, "nach einem Schreibfehler verworfen")); // the engine's reason, not a general one
    EXPECT_EQ(numberBefore(r.out.str(), "\n", r.out.str().find("Problemzeilen: ")),
              std::to_string(uebersicht::LogdateiLesen(r.logFile()).size()));
}

} // namespace

// --replace with a full disk in the members step, or Ctrl+C: the old club database stays byte for
// byte, the incomplete one is kept beside it under NAME.unvollständig.EXT (replacing a file of that
// name) and both are named. Where no old file stood, the incomplete one takes the name itself and
// keeps what was converted.
TEST(WriteFaultTest, AnIncompleteRunNeverTakesTheOldClubDatabasesPlace)
{
    const std::string lost = " Zeilen konnten wegen eines Datei- oder Speicherfehlers nicht gespeichert werden.\n";
    // the row; what on standard error says that the step has begun (empty: no fault); Ctrl+C; an
    // old file; the exit code; the end of the message's first line (empty: none)
    const std::tuple<const char*, std::string, bool, bool, int, std::string> rows[] = {
        {"members step", "Vereine: 5 / 4\n", false, true, 3, lost},
        {"Ctrl+C", "", true, true, 130, "die Umsetzung wurde abgebrochen.\n"},
        {"no old file", "Vereine: 5 / 4\n", false, false, 3, lost},
        {"Ctrl+C, no old file", "", true, false, 130, "die Umsetzung wurde abgebrochen.\n"},
    };
    for (const auto& [name, fillDiskOn, interrupted, oldFile, exit, why] : rows) {
        SCOPED_TRACE(name);
        BatchRun r;
        r.prepare(oldFile ? "Daten des Vereins" : "");
        std::ofstream(r.kept, std::ios::binary) << "Rest eines früheren Laufs";
        r.interrupted = interrupted;
        r.err.text = fillDiskOn;

        EXPECT_EQ(r.run(true), exit) << r.err.str();
        r.faults.failAt(0);
        const std::string err = r.err.str();
        EXPECT_TRUE(contains(err, "Fehler: Die Vereinsdatenbank ist unvollständig: ") && contains(err, why)) << err;
        if (!oldFile) {
            EXPECT_EQ(readBytes(r.kept), "Rest eines früheren Laufs");
            EXPECT_EQ(r.single("SELECT count(*) > 0 FROM Vereinsliste"), "1"); // what was converted stays
        } else {
            EXPECT_EQ(readBytes(r.database), "Daten des Vereins");
            EXPECT_EQ(queryRows(r.kept, "PRAGMA integrity_check").at(0), "ok");
            EXPECT_TRUE(err.ends_with("\n" + importer::Vollstaendigkeit::BisherigeBleibt(r.database, r.kept) + "\n"))
                << err;
        }
        for (const std::string& file : r.names())
            EXPECT_FALSE(contains(file, "~")) << file; // nothing left under the name it was built under
    }
}

// A folder has taken the old club database's name while the run worked: the complete new one cannot
// take its place, stays under the name it was built under, and the run ends with 3 and says where.
TEST(WriteFaultTest, ACompleteRunThatCannotTakeTheOldPlaceSaysWhereItIs)
{
    BatchRun r;
    r.prepare("Daten des Vereins");
    r.err.text = "Vereine: 5 / 4\n";
    r.err.action = [&] { std::filesystem::remove(r.database), std::filesystem::create_directory(r.database); };
    EXPECT_EQ(r.run(true), 3);
    EXPECT_TRUE(contains(r.err.str(), "» bleibt unverändert; die neue steht in «")) << r.err.str();
}

TEST(WriteFaultTest, EveryWriteOfARunFailsInTurn)
{
    BatchRun r;
    const std::string definitions = readBytes(r.definitions);
    r.prepare("");
    clubdb::DatenbankErstellen(r.database);
    clubdb::Connection::open(r.database).execute("INSERT INTO Vereinsliste (Ort, VNummer) VALUES ('Alt ', '99 ')");
    const std::string old = readBytes(r.database);
    for (const bool replace : {false, true}) {
        // The fault-free run: what every other run is measured against.
        r.prepare(replace ? old : "");
        r.faults.failAt(0);
        ASSERT_EQ(r.run(replace), 0) << r.err.str();
        const int last = r.faults.writes();
        const std::vector<std::string> expected = databaseRows(r.database);
        const std::string expectedLog = r.logText();
        ASSERT_GT(expectedLog.size(), 4096u); // more than one write of the log

        for (const WriteFaults::Form form : {WriteFaults::Form::Once, WriteFaults::Form::DiskFull}) {
            for (int k = 1; k <= last; ++k) {
                SCOPED_TRACE(std::string(replace ? "--replace, " : "") +
                             (form == WriteFaults::Form::Once ? "einmal" : "voll") + ", Schreibvorgang " +
                             std::to_string(k));
                r.prepare(replace ? old : "");
                r.faults.failAt(k, form);
                const int exit = r.run(replace);
                r.faults.failAt(0);
                const std::string err = r.err.str();

                EXPECT_TRUE(readBytes(r.definitions) == definitions);
                for (const std::string& name : r.names()) // all sound, nothing under the name it was built under
                    EXPECT_TRUE(!contains(name, "~") &&
                                (!name.ends_with(".vdb") ||
                                 queryRows(r.folder.file(name), "PRAGMA integrity_check").at(0) == "ok"))
                        << name;
                // Only a complete result replaces the old club database, and a club database that
                // the run does not call incomplete (a log that cannot be written does not make it so)
                // is the very one of the fault-free run.
                const std::string incomplete = "Fehler: Die Vereinsdatenbank ist unvollständig: ";
                const std::string notCreated = " konnte nicht angelegt werden.";
                const bool oldKept = replace && readBytes(r.database) == old;
                if ((replace && !oldKept) || !(contains(err, incomplete) || contains(err, notCreated))) {
                    EXPECT_EQ(databaseRows(r.database), expected);
                }
                const std::string result = oldKept ? r.kept : r.database;
                if (std::filesystem::exists(result))
                    expectToldTruly(result, r, r.logText());
                if (exit == 0) {
                    EXPECT_TRUE(r.logText() == expectedLog);
                    continue;
                }
                EXPECT_EQ(exit, 3) << err;
                EXPECT_TRUE(contains(err, incomplete) || contains(err, notCreated) ||
                            contains(err, " konnte nicht vollständig geschrieben werden!"))
                    << err;
                if (oldKept && std::filesystem::exists(r.kept)) {
                    EXPECT_TRUE(contains(err, importer::Vollstaendigkeit::BisherigeBleibt(r.database, r.kept))) << err;
                }
            }
        }
    }
}
