#include "batch/BatchCommand.h"
#include "run/RunSetup.h"

#include <sstream>

namespace {

// An export folder with a clubs file (one club without abbreviation, a problem line) and a
// members file of one member; the club database is left to the command.
struct Batch : RunSetup
{
    std::string database = folder.file("Neu.vdb");
    std::atomic<bool> interrupted{false};
    std::ostringstream out, err;

    Batch()
    {
        files(0, 1);
        write("V", {"1,04-001,SG Tell,SGT,,,,,,,Augsburg", "1,04-002,Ohne Kürzel,,,,,,,,Friedberg"});
    }

    int run(std::vector<std::string> args)
    {
        return batch::run(args, {folder.path().string(), folder.path().string(), false, &interrupted}, out, err);
    }

    std::vector<std::string> logFiles() const
    {
        std::vector<std::string> logs;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().extension() == ".log")
                logs.push_back(entry.path().string());
        return logs;
    }
};

} // namespace

TEST(BatchCommandTest, ConvertsAnExportFolderAndPrintsTheCounts)
{
    Batch b;
    EXPECT_EQ(b.run({b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
    const std::vector<std::string> logs = b.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(b.out.str(), "Vereine: 1\nSchützen: 1\nHochmeldungen: 0\nMitgliedschaften ges.: 1\n"
                           "Zweit-(Mehrfach-) Mitgliedschaften: 0\nStartberechtigungen: 0\nProblemzeilen: 1\n"
                           "Logdatei: " +
                               logs[0] + "\n");
    // The last progress of each step, and the question answered No.
    EXPECT_EQ(b.err.str(), "Vereine: 2 / 1\nMitglieder: 1 / 1\nLogdatei: Bei der Umwandlung der Exportdateien wurden "
                           "Probleme festgestellt.\nSoll die Logdatei angezeigt werden?\n  -> Nein\n");
    EXPECT_TRUE(contains(readLog(logs[0]), " - Vereinsabkürzung fehlt"));

    // The club database exists now: without --replace it is left alone.
    const auto written = std::filesystem::last_write_time(b.database);
    // 2 is the documented "nothing converted" that scripts test for.
    EXPECT_EQ(b.run({"--no-log", b.eingaben.exportOrdner, b.database, b.definitions}), 2);
    EXPECT_EQ(std::filesystem::last_write_time(b.database), written);
    std::filesystem::remove(logs[0]);
    EXPECT_EQ(b.run({"--no-log", "--replace", b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
    EXPECT_TRUE(b.logFiles().empty());
}

TEST(BatchCommandTest, RefusesBadArgumentsAndInputsWithoutConverting)
{
    Batch b;
    const std::string& folder = b.eingaben.exportOrdner;
    for (const std::vector<std::string>& args : {std::vector<std::string>{folder, b.database},
                                                 {"--schnell", folder, b.database, b.definitions},
                                                 {b.folder.file("fehlt"), b.database, b.definitions},
                                                 {folder, b.folder.file("fehlt/Verein.vdb"), b.definitions}})
        EXPECT_EQ(b.run(args), batch::kBadInput) << args[0];
    EXPECT_FALSE(std::filesystem::exists(b.database));

    std::filesystem::remove(b.exportFile("M"));
    b.err.str("");
    EXPECT_EQ(b.run({folder, b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(b.err.str(), "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\n"
                           "Für die Erstellung der Datenbank werden mindestens die Vereins- und Mitgliederdaten "
                           "benötigt!\n");

    // Missing definitions: every question answered No, nothing converted, nothing left behind.
    const std::string missing = b.folder.file("keine.zrv");
    b.write("M", {});
    EXPECT_EQ(b.run({folder, b.database, missing}), batch::kBadInput);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(contains(b.err.str(), "Zervik - fehlende Datei: "));
    EXPECT_TRUE(contains(b.err.str(), "ist (teilweise) leer"));
    EXPECT_TRUE(b.logFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(b.database));
}

TEST(BatchCommandTest, CtrlCStopsLikeAbbruchAndKeepsWhatWasConverted)
{
    Batch b;
    b.interrupted = true;
    EXPECT_EQ(b.run({b.eingaben.exportOrdner, b.database, b.definitions}), batch::kInterrupted);
    EXPECT_TRUE(contains(b.out.str(), "Vereine: 1\n"));
    b.eingaben.vdbPfad = b.database;
    EXPECT_EQ(b.count("Vereinsliste"), 1);
}
