// Export files that are broken or hostile: quotes, wildcards and SQL in names and numbers, NUL
// bytes, empty files and files of nothing but line ends. Nothing may crash or hang, every value is
// stored as data and nothing else, and no stored text holds what would cut it short for the
// programs that read the club database.

#include "run/RunSetup.h"

using namespace std::string_literals;
using Texts = std::vector<std::string>;

TEST(HostileInputTest, QuotesWildcardsAndSqlAreStoredAsData)
{
    RunSetup r;
    r.write("V", {"1,04-001,x'); DROP TABLE Vereinsliste;--,SG \"Tell\" 100%_,,,,,,,Augs;burg",
                  "1,04-002,Robert'); DELETE FROM Vereinsliste WHERE 'a'='a,100%,,,,,,,%"});
    r.write("M", {memberLine("04-001", "04-001-0001", "O'Brien", "Robert'); DROP TABLE Schuetzendaten;--"),
                  memberLine("04-001", "04-001-0002", "Mül\0ler"s, "Hans\0"s, "Haupt\"str.", "Augs%burg"),
                  memberLine("04-002", "04-002-0003", "100% _", "'; --", "'", "\"")});
    r.write("Z", {"1,04-001,04-001-0001,04-002,04-002-0001,1.10'; DROP TABLE StartBerecht;--"});

    r.runToEnd();
    EXPECT_EQ(r.rows("SELECT Vereinsname, VereinsAbk, GOrt FROM Vereinsliste ORDER BY VereinsID"),
              (Texts{"x'); DROP TABLE Vereinsliste;-- |SG \"Tell\" 100%_ |Augs;burg ",
                     "Robert'); DELETE FROM Vereinsliste WHERE 'a'='a |100% |% "}));
    // Names lose full stops, colons, quotes, commas and slashes, and NUL bytes; the rest is kept.
    EXPECT_EQ(r.rows("SELECT M_Name, M_Vorname, M_Straße, M_Ort FROM Schuetzendaten ORDER BY M_ID"),
              (Texts{"O'Brien |Robert'); DROP TABLE |Hauptstr. 12 |Augsburg ",
                     "Müller |Hans |Haupt\"str. 12 |Augs%burg ", "100% _ |';-- |' 12 |\" "}));
    // The start right adds the second membership before it finds that its SpO-Nr is no discipline.
    EXPECT_EQ(std::tuple(r.count("Mitgliedschaft"), r.count("StartBerecht")), std::tuple(4, 0));
}

// A LIKE wildcard in a value must find only itself: a club number "%%%" stands for no club but
// its own, a membership number "04-001-_001" is not the member 04-001-0001, and a start right given
// under it goes to nobody (it would add a second membership in 04-002). In names "%" and "_" keep
// their meaning in the searches: they widen a search as any part of a name does, so "_uber, Ann_"
// at Huber Anna's address and birth date is taken for her.
TEST(HostileInputTest, WildcardsInNumbersFindNothingElse)
{
    RunSetup r;
    r.write("V", {"1,04-001,Erster Verein,EV,,,,,,,Augsburg", "1,%%%,Prozentverein,PV,,,,,,,Augsburg",
                  "1,04-002,Zweiter Verein,ZV,,,,,,,Augsburg"});
    r.write("M", {memberLine("04-001", "04-001-0001", "Huber", "Anna"),
                  memberLine("%%%", "04-001-0005", "Zeta", "Zora", "Nebenweg", "Ulm"),
                  memberLine("04-001", "04-001-0002", "_uber", "Ann_")});
    r.write("Z", {"1,04-001,04-001-_001,04-002,04-002-_001,1.10", "1,04-001,04-001-%,04-002,04-002-%,1.10"});

    r.runToEnd();
    EXPECT_EQ(r.rows("SELECT M_Name FROM Schuetzendaten ORDER BY M_ID"), (Texts{"Huber ", "Zeta "}));
    EXPECT_EQ(r.rows("SELECT Mgl_Verein_ID, Mgl_Schütze_ID FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (Texts{"1|1", "2|2", "1|2"}));
    EXPECT_EQ(r.count("StartBerecht"), 0);
}

// Files without content: each step reads its lines, stores nothing and closes its section.
TEST(HostileInputTest, EmptyFilesAndFilesOfLineEndsOnly)
{
    // LF alone: line ends converted on the way; LF and a CR: a lone LF stays inside its line.
    const std::tuple<const char*, std::string, int> rows[] = {{"empty", "", 0},
                                                              {"only CR", std::string(10000, '\r'), 10000},
                                                              {"only LF", std::string(10000, '\n'), 10000},
                                                              {"LF and a CR", std::string(10000, '\n') + "\r", 1}};
    for (const auto& [name, bytes, lines] : rows) {
        SCOPED_TRACE(name);
        RunSetup r;
        for (const char* kind : {"V", "M", "Z"})
            r.writeBytes(kind, bytes);
        r.runToEnd();
        const std::string log = r.log();
        for (const char* what : {"Vereine angelegt", "Schützen angelegt", "Startberechtigungen eingetragen"})
            EXPECT_TRUE(contains(log, std::to_string(lines) + " Zeilen eingelesen, 0 " + what)) << what;
        EXPECT_EQ(r.lauf.problemzahl(), 3 * lines);
    }
}
