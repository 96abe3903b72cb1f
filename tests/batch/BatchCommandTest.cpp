#include "batch/BatchCommand.h"
#include "clubdb/Statement.h"
#include "definitions/DefinitionsdateiHilfe.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>

namespace {

struct Batch
{
    TempFolder folder;
    std::string exportFolder = folder.file("export");
    std::string database = folder.file("Verein.vdb");
    std::string definitions = folder.file("wkak.zrv");
    std::atomic<bool> interrupted{false};
    std::ostringstream out;
    std::ostringstream err;

    Batch()
    {
        std::filesystem::create_directory(exportFolder);
        writeDefinitionsFile(definitions);
        writeExportFile(exportFolder + "/Bezirk_V_2026.csv",
                        {"1,04-001,SG Tell,SGT,,,,,,,Augsburg", "1,04-002,Ohne Kürzel,,,,,,,,Friedberg"});
        writeExportFile(exportFolder + "/Bezirk_M_2026.csv", {});
    }

    int run(std::vector<std::string> args)
    {
        batch::Environment environment;
        environment.programFolder = folder.path().string();
        environment.dataFolder = folder.path().string();
        environment.interrupted = &interrupted;
        return batch::run(args, environment, out, err);
    }

    std::string file(const std::string& name) const { return folder.file(name); }

    std::vector<std::string> logFiles() const
    {
        std::vector<std::string> logs;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().extension() == ".log" && entry.is_regular_file())
                logs.push_back(entry.path().string());
        return logs;
    }
};

// Folders named as the log of this minute and of the next: the log cannot be created.
void blockLog(const Batch& b)
{
    for (const std::time_t t : {std::time(nullptr), std::time(nullptr) + 60}) {
        std::tm local{};
        localtime_r(&t, &local);
        char name[32];
        std::strftime(name, sizeof name, "Log_%Y%m%d_%H%M.log", &local);
        std::filesystem::create_directory(b.folder.file(name));
    }
}

} // namespace

TEST(BatchCommandTest, ConvertsAnExportFolderAndPrintsTheCounts)
{
    Batch b;
    EXPECT_EQ(b.run({b.exportFolder, b.database, b.definitions}), batch::kOk);
    const std::vector<std::string> logs = b.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(b.out.str(), "Vereine: 1\nSchützen: 0\nHochmeldungen: 0\nMitgliedschaften ges.: 0\n"
                           "Zweit-(Mehrfach-) Mitgliedschaften: 0\nStartberechtigungen: 0\nProblemzeilen: 1\n"
                           "Häufigste Gründe:\n"
                           "  1  Vereine: Vereinsabkürzung fehlt\n"
                           "  1  Vereine: Mindestangaben fehlen, Daten können nicht gespeichert werden\n"
                           "Logdatei: " + logs[0] + "\n");
    EXPECT_NE(b.err.str().find("Vereine: 2 / 1\n"), std::string::npos);
    EXPECT_NE(b.err.str().find("Logdatei: Bei der Umwandlung der Exportdateien wurden Probleme festgestellt.\n"
                               "Soll die Logdatei angezeigt werden?\n  -> Nein\n"),
              std::string::npos);
    EXPECT_NE(readLog(logs[0]).find(" - Vereinsabkürzung fehlt"), std::string::npos);

    // The club database exists now: without --replace it is left alone.
    const auto written = std::filesystem::last_write_time(b.database);
    EXPECT_EQ(b.run({"--no-log", b.exportFolder, b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(std::filesystem::last_write_time(b.database), written);

    std::filesystem::remove(logs[0]);
    EXPECT_EQ(b.run({"--no-log", "--replace", b.exportFolder, b.database, b.definitions}), batch::kOk);
    EXPECT_TRUE(b.logFiles().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(b.folder.path()), {}), 3); // no file left beside it
}

// Whatever refuses the run leaves an existing club database byte for byte as it was, and never
// touches the definitions file.
TEST(BatchCommandTest, ARefusedRunDeletesNothing)
{
    struct Row
    {
        const char* name;
        std::function<std::vector<std::string>(Batch&)> arguments;
        int exit;
        const char* message;
        bool definitionsRewritten = false; // an older layout: the backup holds the file as it was
    };
    const Row rows[] = {
        {"definitions missing",
         [](Batch& b) { return std::vector<std::string>{"--replace", b.exportFolder, b.database, b.file("fehlt.zrv")}; },
         batch::kBadInput, "ist (teilweise) leer"},
        {"definitions empty",
         [](Batch& b) {
             ScriptedQuestions questions;
             definitions::WkAkAnlegen(b.file("leer.zrv"), {"", "", questions});
             return std::vector<std::string>{"--replace", b.exportFolder, b.database, b.file("leer.zrv")};
         },
         batch::kBadInput, "ist (teilweise) leer"},
        {"log not creatable",
         [](Batch& b) {
             blockLog(b);
             return std::vector<std::string>{"--replace", b.exportFolder, b.database, b.definitions};
         },
         batch::kNotWritable, "konnte nicht angelegt werden!"},
        {"club database exists",
         [](Batch& b) { return std::vector<std::string>{b.exportFolder, b.database, b.definitions}; }, batch::kBadInput,
         "existiert bereits. Mit --replace"},
        {"same file",
         [](Batch& b) { return std::vector<std::string>{"--replace", b.exportFolder, b.definitions, b.definitions}; },
         batch::kBadInput, "ist zugleich die Datei der Wettkampfdefinitionen."},
        {"same file by a relative path",
         [](Batch& b) {
             return std::vector<std::string>{"--replace", b.exportFolder, std::filesystem::relative(b.definitions),
                                             b.definitions};
         },
         batch::kBadInput, "ist zugleich die Datei der Wettkampfdefinitionen."},
        {"same file by a link",
         [](Batch& b) {
             std::filesystem::create_symlink(b.definitions, b.file("Verweis.vdb"));
             return std::vector<std::string>{"--replace", b.exportFolder, b.file("Verweis.vdb"), b.definitions};
         },
         batch::kBadInput, "ist zugleich die Datei der Wettkampfdefinitionen."},
        // The club database is created exclusively: a file that appears after the check (here the
        // backup of the rewritten definitions) is reported, never deleted.
        {"appears after the check",
         [](Batch& b) {
             std::filesystem::remove(b.definitions);
             testhilfe::aeltereDatei(b.definitions, testhilfe::alteDisziplinSql("Luftgewehr", "1.10") +
                                                        "INSERT INTO Altersklassen VALUES ('Herren', 10);");
             return std::vector<std::string>{b.exportFolder, b.file("wkak.alt"), b.definitions};
         },
         batch::kBadInput, "existiert bereits.", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Batch b;
        std::ofstream(b.database, std::ios::binary) << "Daten des Vereins";
        const std::vector<std::string> arguments = row.arguments(b);
        const std::string definitions = readBytes(b.definitions);

        EXPECT_EQ(b.run(arguments), row.exit);

        EXPECT_NE(b.err.str().find(row.message), std::string::npos) << b.err.str();
        EXPECT_EQ(readBytes(b.database), "Daten des Vereins");
        EXPECT_EQ(readBytes(row.definitionsRewritten ? b.file("wkak.alt") : b.definitions), definitions);
        EXPECT_TRUE(b.logFiles().empty());
    }
}

TEST(BatchCommandTest, RefusesBadArgumentsAndInputsWithoutConverting)
{
    Batch b;
    for (const auto& [option, beginning] : {std::pair{"--help", "Aufruf: tvx-vidazer-batch [--no-log]"},
                                            std::pair{"--version", "tvx-vidazer-batch Version " TVX_VERSION "\n"}}) {
        b.out.str("");
        EXPECT_EQ(b.run({option}), batch::kOk);
        EXPECT_TRUE(b.out.str().starts_with(beginning)) << b.out.str();
    }

    EXPECT_EQ(b.run({b.exportFolder, b.database}), batch::kBadInput);
    EXPECT_EQ(b.run({"--schnell", b.exportFolder, b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(b.run({b.folder.file("fehlt"), b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(b.run({b.exportFolder, b.folder.file("fehlt/Verein.vdb"), b.definitions}), batch::kBadInput);
    EXPECT_FALSE(std::filesystem::exists(b.database));

    std::filesystem::remove(b.exportFolder + "/Bezirk_M_2026.csv");
    b.err.str("");
    EXPECT_EQ(b.run({b.exportFolder, b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(b.err.str(), "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\n"
                           "Für die Erstellung der Datenbank werden mindestens die Vereins- und Mitgliederdaten "
                           "benötigt!\n");
}

TEST(BatchCommandTest, MissingDefinitionsAreReportedAndEveryQuestionAnsweredNo)
{
    Batch b;
    const std::string missing = b.folder.file("keine.zrv");
    EXPECT_EQ(b.run({b.exportFolder, b.database, missing}), batch::kBadInput);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_NE(b.err.str().find("Zervik - fehlende Datei: "), std::string::npos);
    EXPECT_NE(b.err.str().find("ist (teilweise) leer"), std::string::npos);
    EXPECT_TRUE(b.logFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(b.database)); // nothing converted, nothing left behind
}

TEST(BatchCommandTest, CtrlCStopsLikeAbbruchAndKeepsWhatWasConverted)
{
    Batch b;
    b.interrupted = true;
    EXPECT_EQ(b.run({b.exportFolder, b.database, b.definitions}), batch::kInterrupted);
    EXPECT_NE(b.out.str().find("Vereine: 1\n"), std::string::npos);
    clubdb::Connection db = clubdb::Connection::open(b.database);
    clubdb::Statement count(db, "SELECT count(*) FROM Vereinsliste");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 1);
}

TEST(BatchCommandTest, ProblemsFileHoldsEveryProblemLineAndReplacesOnlyWithReplace)
{
    Batch b;
    const std::string csv = b.folder.file("Probleme.csv");
    EXPECT_EQ(b.run({"--problems", csv, b.exportFolder, b.database, b.definitions}), batch::kOk);
    EXPECT_EQ(readBytes(csv), "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
                              "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n"
                              "Vereine;2;\"Mindestangaben fehlen, Daten können nicht gespeichert werden\";"
                              "\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n");
    EXPECT_NE(b.out.str().find("CSV-Datei: " + csv + "\n"), std::string::npos);

    // Checked before anything is converted: no existing file replaced without --replace, no input
    // file overwritten, and nothing to read without a log.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--replace", "--problems", csv, "--no-log"},
          std::vector<std::string>{"--replace", "--problems", b.definitions},
          std::vector<std::string>{"--replace", "--problems", b.exportFolder + "/Bezirk_V_2026.csv"},
          std::vector<std::string>{"--problems", csv}, std::vector<std::string>{"--problems"}}) {
        std::vector<std::string> all = args;
        all.insert(all.end(), {b.exportFolder, b.folder.file("Neu.vdb"), b.definitions});
        EXPECT_EQ(b.run(all), batch::kBadInput) << args.back();
        EXPECT_FALSE(std::filesystem::exists(b.folder.file("Neu.vdb")));
    }
    EXPECT_EQ(b.run({"--replace", "--problems", csv, b.exportFolder, b.database, b.definitions}), batch::kOk);
}
