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

    // The arguments as words: options as they are, every other word a file in the test's folder,
    // named by its path or by a path relative to the working folder.
    int run(const std::string& words, bool relative = false)
    {
        std::vector<std::string> args;
        std::istringstream in(words);
        for (std::string word; in >> word;)
            args.push_back(word.starts_with("--") ? word
                           : relative             ? std::filesystem::relative(folder.file(word)).string()
                                                  : folder.file(word));
        return run(args);
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
    void noMembersFile() const { std::filesystem::remove(exportFile("M")); }
    void problemsFile() const { std::ofstream(folder.file("Probleme.csv")) << "alt"; }

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
    EXPECT_EQ(b.run("export Neu.vdb wkak.zrv"), 0);
    const std::vector<std::string> logs = b.names(".log");
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = b.folder.file(logs[0]);
    EXPECT_EQ(b.out.str(), "Vereine: 1\nSchützen: 1\nHochmeldungen: 0\nMitgliedschaften ges.: 1\n"
                           "Zweit-(Mehrfach-) Mitgliedschaften: 0\nStartberechtigungen: 0\nProblemzeilen: 3\n"
                           "Häufigste Gründe:\n"
                           "  2  Vereine: Vereinsabkürzung fehlt\n"
                           "  2  Vereine: Mindestangaben fehlen, Daten können nicht gespeichert werden\n"
                           "  1  Vereine: Vereinsnummer fehlt\n"
                           "  1  Vereine: Vereinsname lang fehlt\n"
                           "  1  Vereine: Vereinsort fehlt\n"
                           "Logdatei: " +
                               log + "\n");
    // The last progress of each step, and the question answered No.
    EXPECT_EQ(b.err.str(), "Vereine: 3 / 1\nMitglieder: 2 / 1\nLogdatei: Bei der Umwandlung der Exportdateien wurden "
                           "Probleme festgestellt.\nSoll die Logdatei angezeigt werden?\n  -> Nein\n");
    EXPECT_TRUE(contains(readLog(log), " - Vereinsabkürzung fehlt"));

    // With --replace the club database is built anew (that nothing stays behind beside it, the
    // write-fault sweep makes sure).
    std::filesystem::remove(log);
    EXPECT_EQ(b.run("--no-log --replace export Neu.vdb wkak.zrv"), 0);
    EXPECT_TRUE(b.names(".log").empty());
    EXPECT_EQ(b.run("--version"), 0);
    EXPECT_TRUE(b.out.str().ends_with("tvx-vidazer-batch Version " TVX_VERSION "\n")) << b.out.str();
}

// Whatever refuses the run says why with the exit code that scripts test for (2: wrong
// arguments or inputs, 3: not writable), converts nothing, leaves the existing club database
// Neu.vdb byte for byte as it was, and never touches the definitions file.
TEST(BatchCommandTest, ARefusedRunSaysWhyAndDeletesNothing)
{
    const std::string usage = "Aufruf: tvx-vidazer-batch [--no-log]";
    const struct
    {
        const char* name;
        void (Batch::*prepare)() const;
        const char* args; // paths in the test's folder
        int exit;
        std::string message;
        bool definitionsRewritten = false; // an older layout: the backup holds the file as it was
    } rows[] = {
        {"too few paths", nullptr, "export Zwei.vdb", 2, usage},
        {"unknown option", nullptr, "--schnell export Zwei.vdb wkak.zrv", 2, usage},
        {"--problems without its file", nullptr, "export Zwei.vdb wkak.zrv --problems", 2, usage},
        {"--problems takes a path", nullptr, "--problems export Zwei.vdb wkak.zrv", 2, usage},
        {"export folder missing", nullptr, "fehlt Zwei.vdb wkak.zrv", 2, "Fehler: Der Exportordner "},
        {"members file missing", &Batch::noMembersFile, "export Zwei.vdb wkak.zrv", 2,
         "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\nFür die Erstellung der Datenbank werden "
         "mindestens die Vereins- und Mitgliederdaten benötigt!\n"},
        // Of the first 20 lines that are not empty, 11 were saved as a table: just over half.
        {"saved as a table", &Batch::membersAsTable, "--replace export Neu.vdb wkak.zrv", 2,
         "Fehler: Die Datei «B_M_1.csv» ist keine Exportdatei von TVX: sie wurde mit einem anderen Programm als "
         "Tabelle gespeichert. Bitte die Daten erneut aus TVX exportieren.\n"},
        {"two members files", &Batch::secondMembersFile, "--replace export Neu.vdb wkak.zrv", 2,
         "Fehler: Im Exportordner liegen mehrere Dateien derselben Art:\n"
         "Mitglieder: umgesetzt wird «B_M_1.csv», nicht umgesetzt: «B_M_2.csv»\n"
         "Bitte nur einen Export im Ordner lassen.\n"},
        {"folder of the club database missing", nullptr, "export fehlt/Verein.vdb wkak.zrv", 2,
         "fehlt/Verein.vdb existiert nicht.\n"},
        {"definitions missing", nullptr, "--replace export Neu.vdb fehlt.zrv", 2, "Zervik - fehlende Datei: "},
        {"log not creatable", &Batch::blockLog, "--replace export Neu.vdb wkak.zrv", 3,
         "konnte nicht angelegt werden!"},
        {"club database exists", nullptr, "export Neu.vdb wkak.zrv", 2, "existiert bereits. Mit --replace"},
        {"same file by a link", &Batch::linkToDefinitions, "--replace export Verweis.vdb wkak.zrv", 2,
         "ist zugleich die Datei der Wettkampfdefinitionen."},
        // The club database is created exclusively: a file that appears after the check (here the
        // backup of the rewritten definitions) is reported, never deleted ...
        {"appears after the check", &Batch::olderDefinitions, "export wkak.alt wkak.zrv", 2, "existiert bereits.",
         true},
        // ... and not even --replace throws that backup away.
        {"the definitions' backup", &Batch::olderDefinitions, "--replace export wkak.alt wkak.zrv", 2,
         "ist die Sicherungskopie der Wettkampfdefinitionen."},
        // An incomplete result would be kept as wkak.unvollständig: it must not replace the
        // definitions.
        {"incomplete result as the definitions", nullptr, "--replace export wkak wkak.unvollständig", 2,
         "Fehler: Eine unvollständige Umsetzung würde als "},
        // The CSV file of --problems: no existing file replaced without --replace, no input file
        // overwritten, and nothing to read without a log.
        {"CSV file exists", &Batch::problemsFile, "--problems Probleme.csv export Zwei.vdb wkak.zrv", 2,
         "Probleme.csv existiert bereits. Mit --replace wird sie ersetzt.\n"},
        {"CSV file is the definitions", nullptr, "--replace --problems wkak.zrv export Zwei.vdb wkak.zrv", 2,
         "wkak.zrv, eine der Eingaben.\n"},
        {"CSV file is an export file", nullptr, "--replace --problems export/B_V_1.csv export Zwei.vdb wkak.zrv", 2,
         "B_V_1.csv, eine der Eingaben.\n"},
        {"CSV file without a log", nullptr, "--replace --problems Probleme.csv --no-log export Zwei.vdb wkak.zrv", 2,
         "Fehler: --problems liest die Logdatei und geht daher nicht zusammen mit --no-log.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Batch b;
        std::ofstream(b.database, std::ios::binary) << "Daten des Vereins";
        if (row.prepare)
            (b.*row.prepare)();
        const std::string definitions = readBytes(b.definitions);

        EXPECT_EQ(b.run(row.args, true), row.exit);

        EXPECT_TRUE(contains(b.err.str(), row.message)) << b.err.str();
        EXPECT_EQ(readBytes(row.definitionsRewritten ? b.folder.file("wkak.alt") : b.definitions), definitions);
        // Nothing printed, the old club database as it was, no new one, no log, and the offer to
        // create the missing definitions declined.
        EXPECT_EQ(std::tuple(b.out.str(), readBytes(b.database), std::filesystem::exists(b.folder.file("Zwei.vdb")),
                             b.names(".log"), std::filesystem::exists(b.folder.file("fehlt.zrv"))),
                  std::tuple("", "Daten des Vereins", false, std::vector<std::string>{}, false));
    }
}

TEST(BatchCommandTest, ProblemsFileHoldsEveryProblemLineAndReplacesOnlyWithReplace)
{
    Batch b;
    const std::string csv = b.folder.file("Probleme.csv");
    EXPECT_EQ(b.run("--problems Probleme.csv export Neu.vdb wkak.zrv"), 0);
    EXPECT_EQ(readBytes(csv), "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
                              "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n"
                              "Vereine;2;\"Mindestangaben fehlen, Daten können nicht gespeichert werden\";"
                              "\"1,04-002,Ohne Kürzel,,,,,,,,Friedberg\"\r\n");
    EXPECT_TRUE(contains(b.out.str(), "CSV-Datei: " + csv + "\n"));
    EXPECT_EQ(b.run("--replace --problems Probleme.csv export Neu.vdb wkak.zrv"), 0);
    // A file that cannot be written makes the exit code say so.
    EXPECT_EQ(b.run({"--replace", "--problems", "/proc/tvx.csv", b.eingaben.exportOrdner, b.database, b.definitions}),
              3);
    EXPECT_TRUE(contains(b.err.str(), "Fehler: Die CSV-Datei /proc/tvx.csv konnte nicht geschrieben werden.\n"))
        << b.err.str();
}

// What only looks like a problem of the export is converted as always: table lines that are not
// more than half of the first 20 (they become problem lines), an export of the older naming
// beside the current one, which its pattern never finds, and two districts files, which are
// never converted.
TEST(BatchCommandTest, ConvertsAnExportThatOnlyPartlyLooksLikeATable)
{
    // the row; the members file; files beside it of two members lines each; the members' progress
    const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, const char*> rows[] = {
        {"one table line", Batch::membersAndTable(3, 1), {}, "Mitglieder: 4 / 3\n"},
        // Exactly half of the first 20, and the 21st line not looked at.
        {"exactly half", Batch::membersAndTable(10, 11), {}, "Mitglieder: 21 / 10\n"},
        {"older naming beside", memberLines(1), {"B.M.2.csv"}, "Mitglieder: 1 / 1\n"},
        {"two districts files", memberLines(1), {"B_K_1.csv", "B_K_2.csv"}, "Mitglieder: 1 / 1\n"},
    };
    for (const auto& [name, members, beside, progress] : rows) {
        SCOPED_TRACE(name);
        Batch b;
        writeExportFile(b.exportFile("M"), members);
        for (const std::string& file : beside)
            writeExportFile(b.eingaben.exportOrdner + file, memberLines(2));
        EXPECT_EQ(b.run("--no-log export Neu.vdb wkak.zrv"), 0);
        EXPECT_TRUE(contains(b.err.str(), progress)) << b.err.str();
    }
}

// An export copied with its line ends converted, or opened and saved in an editor as UTF-8
// without a mark, converts into the same club database, row for row, and the same log, byte for
// byte, as the member administration's own file.
TEST(BatchCommandTest, ConvertedLineEndsAndUtf8ConvertLikeTheExport)
{
    const std::tuple<const char*, bool, bool> variants[] = {
        {"CR LF, Windows-1252", false, false}, {"LF", true, false}, {"UTF-8", false, true}, {"UTF-8, LF", true, true}};
    std::vector<std::string> original; // every row of the club database, then the log
    for (const auto& [name, lf, utf8] : variants) {
        SCOPED_TRACE(name);
        Batch b;
        std::filesystem::remove(b.definitions);
        clubdb::Connection::create(b.definitions).execute(readBytes(TVX_BEISPIEL_WKAK_SQL));
        std::filesystem::remove_all(b.eingaben.exportOrdner);
        std::filesystem::create_directory(b.eingaben.exportOrdner);
        for (const auto& entry : std::filesystem::directory_iterator(TVX_BEISPIELEXPORT)) {
            std::string bytes = readBytes(entry.path());
            if (utf8)
                bytes = text::decodeWindows1252(bytes);
            if (lf)
                std::erase(bytes, '\r');
            std::ofstream(b.eingaben.exportOrdner + entry.path().filename().string(), std::ios::binary) << bytes;
        }
        ASSERT_EQ(b.run("export Neu.vdb wkak.zrv"), 0) << b.err.str();
        std::vector<std::string> result = databaseRows(b.database);
        result.push_back(readLog(b.folder.file(b.names(".log").at(0))));
        if (original.empty()) {
            original = result;
            EXPECT_TRUE(
                contains(original.back(), "313 Zeilen eingelesen, 311 Schützen angelegt")); // as the example says
        }
        EXPECT_EQ(result, original);
    }
}
