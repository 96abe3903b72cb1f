#include "batch/BatchCommand.h"
#include "definitions/DefinitionsdateiHilfe.h"
#include "run/RunSetup.h"

#include <ctime>
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
            if (entry.path().extension() == ".log" && entry.is_regular_file())
                logs.push_back(entry.path().string());
        return logs;
    }

    // Folders named as the log of this minute and of the next: the log cannot be created.
    void blockLog() const
    {
        for (const std::time_t t : {std::time(nullptr), std::time(nullptr) + 60}) {
            std::tm local{};
            localtime_r(&t, &local);
            char name[32];
            std::strftime(name, sizeof name, "Log_%Y%m%d_%H%M.log", &local);
            std::filesystem::create_directory(folder.file(name));
        }
    }

    // Definitions of the older layout: the run rewrites them and keeps the old file as wkak.alt.
    void olderDefinitions() const
    {
        std::filesystem::remove(definitions);
        testhilfe::aeltereDatei(definitions, testhilfe::alteDisziplinSql("Luftgewehr", "1.10") +
                                                 "INSERT INTO Altersklassen VALUES ('Herren', 10);");
    }

    void linkToDefinitions() const { std::filesystem::create_symlink(definitions, folder.file("Verweis.vdb")); }

    // Members files as another program saved them, or last season's beside this one.
    void membersAsTable() const { writeExportFile(exportFile("M"), membersAndTable(9, 11, {"", "   "})); }
    void secondMembersFile() const { writeExportFile(eingaben.exportOrdner + "B_M_2.csv", memberLines(1)); }

    // Good member lines, the empty lines, then member lines as a spreadsheet program saves them,
    // the cells separated by ";" or by tabs.
    static std::vector<std::string> membersAndTable(int good, int table, const std::vector<std::string>& empty = {})
    {
        std::vector<std::string> lines = memberLines(good);
        lines.insert(lines.end(), empty.begin(), empty.end());
        for (std::string line : memberLines(table)) {
            std::replace(line.begin(), line.end(), ',', lines.size() % 2 ? '\t' : ';');
            lines.push_back(line);
        }
        return lines;
    }
};

} // namespace

// The export folder is named as people type it, without "/" at the end. Of the six kinds of
// problem the five most frequent are named.
TEST(BatchCommandTest, ConvertsAnExportFolderAndPrintsTheCounts)
{
    Batch b;
    b.write("V", {"1,04-001,SG Tell,SGT,,,,,,,Augsburg", "1,04-002,Ohne Kürzel,,,,,,,,Friedberg", "1,,,,,,,,,,"});
    b.write("M", {memberLines(1)[0], memberLines(1, "04-999")[0]});
    EXPECT_EQ(b.run({b.folder.file("export"), b.database, b.definitions}), batch::kOk);
    const std::vector<std::string> logs = b.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(b.out.str(), "Vereine: 1\nSchützen: 1\nHochmeldungen: 0\nMitgliedschaften ges.: 1\n"
                           "Zweit-(Mehrfach-) Mitgliedschaften: 0\nStartberechtigungen: 0\nProblemzeilen: 3\n"
                           "Häufigste Gründe:\n"
                           "  2  Vereine: Vereinsabkürzung fehlt\n"
                           "  2  Vereine: Mindestangaben fehlen, Daten können nicht gespeichert werden\n"
                           "  1  Vereine: Vereinsnummer fehlt\n"
                           "  1  Vereine: Vereinsname lang fehlt\n"
                           "  1  Vereine: Vereinsort fehlt\n"
                           "Logdatei: " +
                               logs[0] + "\n");
    // The last progress of each step, and the question answered No.
    EXPECT_EQ(b.err.str(), "Vereine: 3 / 1\nMitglieder: 2 / 1\nLogdatei: Bei der Umwandlung der Exportdateien wurden "
                           "Probleme festgestellt.\nSoll die Logdatei angezeigt werden?\n  -> Nein\n");
    EXPECT_TRUE(contains(readLog(logs[0]), " - Vereinsabkürzung fehlt"));

    // With --replace the club database is built anew beside the old one and leaves nothing else
    // behind.
    std::filesystem::remove(logs[0]);
    EXPECT_EQ(b.run({"--no-log", "--replace", b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
    EXPECT_TRUE(b.logFiles().empty());
    for (const auto& entry : std::filesystem::directory_iterator(b.folder.path()))
        EXPECT_FALSE(contains(entry.path().filename().string(), "Neu.vdb~")) << entry.path();
}

// Whatever refuses the run leaves an existing club database byte for byte as it was, and never
// touches the definitions file.
TEST(BatchCommandTest, ARefusedRunDeletesNothing)
{
    struct Row
    {
        const char* name;
        void (Batch::*prepare)() const;
        const char* database; // in the test's folder, named by a path relative to the working folder
        const char* definitions;
        bool replace;
        int exit; // 2 and 3 are the documented exit codes that scripts test for
        const char* message;
        bool definitionsRewritten = false; // an older layout: the backup holds the file as it was
    };
    const Row rows[] = {
        {"definitions missing", nullptr, "Neu.vdb", "fehlt.zrv", true, 2, "Zervik - fehlende Datei: "},
        {"log not creatable", &Batch::blockLog, "Neu.vdb", "wkak.zrv", true, 3, "konnte nicht angelegt werden!"},
        {"club database exists", nullptr, "Neu.vdb", "wkak.zrv", false, 2, "existiert bereits. Mit --replace"},
        {"same file by a link", &Batch::linkToDefinitions, "Verweis.vdb", "wkak.zrv", true, 2,
         "ist zugleich die Datei der Wettkampfdefinitionen."},
        // The club database is created exclusively: a file that appears after the check (here the
        // backup of the rewritten definitions) is reported, never deleted ...
        {"appears after the check", &Batch::olderDefinitions, "wkak.alt", "wkak.zrv", false, 2, "existiert bereits.",
         true},
        // ... and not even --replace throws that backup away.
        {"the definitions' backup", &Batch::olderDefinitions, "wkak.alt", "wkak.zrv", true, 2,
         "ist die Sicherungskopie der Wettkampfdefinitionen."},
        // Of the first 20 lines that are not empty, 11 were saved as a table: just over half.
        {"saved as a table", &Batch::membersAsTable, "Neu.vdb", "wkak.zrv", true, 2,
         "Fehler: Die Datei «B_M_1.csv» ist keine Exportdatei von TVX: sie wurde mit einem anderen Programm als "
         "Tabelle gespeichert. Bitte die Daten erneut aus TVX exportieren.\n"},
        {"two members files", &Batch::secondMembersFile, "Neu.vdb", "wkak.zrv", true, 2,
         "Fehler: Im Exportordner liegen mehrere Dateien derselben Art:\n"
         "Mitglieder: umgesetzt wird «B_M_1.csv», nicht umgesetzt: «B_M_2.csv»\n"
         "Bitte nur einen Export im Ordner lassen.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Batch b;
        std::ofstream(b.database, std::ios::binary) << "Daten des Vereins";
        if (row.prepare)
            (b.*row.prepare)();
        const std::string definitions = readBytes(b.definitions);
        std::vector<std::string> arguments{b.eingaben.exportOrdner,
                                           std::filesystem::relative(b.folder.file(row.database)).string(),
                                           b.folder.file(row.definitions)};
        if (row.replace)
            arguments.insert(arguments.begin(), "--replace");

        EXPECT_EQ(b.run(arguments), row.exit);

        EXPECT_TRUE(contains(b.err.str(), row.message)) << b.err.str();
        EXPECT_EQ(readBytes(b.database), "Daten des Vereins");
        EXPECT_EQ(readBytes(row.definitionsRewritten ? b.folder.file("wkak.alt") : b.definitions), definitions);
        EXPECT_TRUE(b.logFiles().empty());
        EXPECT_FALSE(std::filesystem::exists(b.folder.file("fehlt.zrv"))); // the offer to create it declined
    }
}

TEST(BatchCommandTest, RefusesBadArgumentsAndInputsWithoutConverting)
{
    Batch b;
    EXPECT_EQ(b.run({"--version"}), batch::kOk);
    EXPECT_TRUE(b.out.str().starts_with("tvx-vidazer-batch Version " TVX_VERSION "\n")) << b.out.str();
    const std::string& folder = b.eingaben.exportOrdner;
    for (const std::vector<std::string>& args : {std::vector<std::string>{folder, b.database},
                                                 {"--schnell", folder, b.database, b.definitions},
                                                 {b.folder.file("fehlt"), b.database, b.definitions},
                                                 {folder, b.folder.file("fehlt/Verein.vdb"), b.definitions},
                                                 {folder, b.database, b.definitions, "--problems"}})
        EXPECT_EQ(b.run(args), batch::kBadInput) << args[0];
    EXPECT_FALSE(std::filesystem::exists(b.database));

    std::filesystem::remove(b.exportFile("M"));
    b.err.str("");
    EXPECT_EQ(b.run({folder, b.database, b.definitions}), batch::kBadInput);
    EXPECT_EQ(b.err.str(), "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\n"
                           "Für die Erstellung der Datenbank werden mindestens die Vereins- und Mitgliederdaten "
                           "benötigt!\n");
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

TEST(BatchCommandTest, ProblemsFileHoldsEveryProblemLineAndReplacesOnlyWithReplace)
{
    Batch b;
    const std::string csv = b.folder.file("Probleme.csv");
    EXPECT_EQ(b.run({"--problems", csv, b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
    EXPECT_EQ(readBytes(csv), "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
                              "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n"
                              "Vereine;2;\"Mindestangaben fehlen, Daten können nicht gespeichert werden\";"
                              "\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n");
    EXPECT_TRUE(contains(b.out.str(), "CSV-Datei: " + csv + "\n"));

    // Checked before anything is converted: no existing file replaced without --replace, no input
    // file overwritten, and nothing to read without a log.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--replace", "--problems", csv, "--no-log"},
          std::vector<std::string>{"--replace", "--problems", b.definitions},
          std::vector<std::string>{"--replace", "--problems", b.exportFile("V")},
          std::vector<std::string>{"--problems", csv}, std::vector<std::string>{"--problems"}}) {
        std::vector<std::string> all = args;
        all.insert(all.end(), {b.eingaben.exportOrdner, b.folder.file("Zwei.vdb"), b.definitions});
        EXPECT_EQ(b.run(all), batch::kBadInput) << args.back();
        EXPECT_FALSE(std::filesystem::exists(b.folder.file("Zwei.vdb")));
    }
    EXPECT_EQ(b.run({"--replace", "--problems", csv, b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
    // A file that cannot be written makes the exit code say so.
    EXPECT_EQ(b.run({"--replace", "--problems", "/proc/tvx.csv", b.eingaben.exportOrdner, b.database, b.definitions}),
              batch::kNotWritable);
}

// What only looks like a problem of the export is converted as always: table lines that are not
// more than half of the first 20 (they become problem lines), an export of the older naming
// beside the current one, which its pattern never finds, and two districts files, which are
// never converted.
TEST(BatchCommandTest, ConvertsAnExportThatOnlyPartlyLooksLikeATable)
{
    const struct
    {
        const char* name;
        std::vector<std::string> members;
        std::vector<std::string> beside; // files of two members lines each
        const char* progress;
    } rows[] = {
        {"one table line", Batch::membersAndTable(3, 1), {}, "Mitglieder: 4 / 3\n"},
        // Exactly half of the first 20, and the 21st line not looked at.
        {"exactly half", Batch::membersAndTable(10, 11), {}, "Mitglieder: 21 / 10\n"},
        {"older naming beside", memberLines(1), {"B.M.2.csv"}, "Mitglieder: 1 / 1\n"},
        {"two districts files", memberLines(1), {"B_K_1.csv", "B_K_2.csv"}, "Mitglieder: 1 / 1\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Batch b;
        writeExportFile(b.exportFile("M"), row.members);
        for (const std::string& name : row.beside)
            writeExportFile(b.eingaben.exportOrdner + name, memberLines(2));
        EXPECT_EQ(b.run({"--no-log", b.eingaben.exportOrdner, b.database, b.definitions}), batch::kOk);
        EXPECT_TRUE(contains(b.err.str(), row.progress)) << b.err.str();
    }
}

// An export copied with its line ends converted, or opened and saved in an editor as UTF-8
// without a mark, converts into the same club database, row for row, and the same log, byte for
// byte, as the member administration's own file.
TEST(BatchCommandTest, ConvertedLineEndsAndUtf8ConvertLikeTheExport)
{
    const struct
    {
        const char* name;
        bool lf;
        bool utf8;
    } variants[] = {
        {"CR LF, Windows-1252", false, false}, {"LF", true, false}, {"UTF-8", false, true}, {"UTF-8, LF", true, true}};
    TempFolder folder;
    const std::string definitions = folder.file("wkak.zrv");
    clubdb::Connection::create(definitions).execute(readBytes(TVX_BEISPIEL_WKAK_SQL));
    std::atomic<bool> interrupted{false};
    std::vector<std::vector<std::string>> original;
    for (const auto& variant : variants) {
        SCOPED_TRACE(variant.name);
        const std::filesystem::path base = folder.path() / variant.name;
        std::filesystem::create_directories(base / "export");
        for (const auto& entry : std::filesystem::directory_iterator(TVX_BEISPIELEXPORT)) {
            std::string bytes = readBytes(entry.path());
            if (variant.utf8)
                bytes = text::decodeWindows1252(bytes);
            if (variant.lf)
                std::erase(bytes, '\r');
            std::ofstream(base / "export" / entry.path().filename(), std::ios::binary) << bytes;
        }
        std::ostringstream out, err;
        ASSERT_EQ(batch::run({(base / "export").string(), (base / "Verein.vdb").string(), definitions},
                             {folder.path().string(), folder.path().string(), false, &interrupted}, out, err),
                  batch::kOk)
            << err.str();

        // Every row of the club database, then the log.
        std::vector<std::vector<std::string>> result{databaseRows((base / "Verein.vdb").string())};
        for (const auto& entry : std::filesystem::directory_iterator(base))
            if (entry.path().extension() == ".log")
                result.push_back({readLog(entry.path())});
        ASSERT_EQ(result.size(), 2u);
        if (original.empty()) {
            original = result;
            EXPECT_TRUE(
                contains(original[1][0], "313 Zeilen eingelesen, 311 Schützen angelegt")); // as the example says
        }
        for (std::size_t i = 0; i < result.size(); ++i)
            EXPECT_EQ(result[i], original[i]) << i;
    }
}
