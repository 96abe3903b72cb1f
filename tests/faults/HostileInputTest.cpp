// Export files that are broken or hostile: quotes, wildcards and SQL in names and numbers, NUL
// bytes, a line of 10 MB, random bytes, undefined Windows-1252 bytes, UTF-8 with and without
// byte-order mark, empty files and files of nothing but line ends. Nothing may crash or hang,
// every value is stored as data and nothing else, and no stored text holds what would cut it
// short for the programs that read the club database.

#include "clubdb/RecordWriter.h"
#include "run/RunSetup.h"
#include "text/Utf8.h"

#include <random>

using namespace std::string_literals;
using Texts = std::vector<std::string>;

namespace {

// Every text stored anywhere in the club database is valid UTF-8 without NUL.
void expectSoundTexts(const RunSetup& r)
{
    clubdb::Connection db = clubdb::Connection::open(r.eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
    for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
        for (const clubdb::ColumnInfo& column : db.columns(table)) {
            const std::string name = clubdb::quoteName(column.name);
            clubdb::Statement query(db, "SELECT " + name + " FROM " + table + " WHERE typeof(" + name + ") = 'text'");
            while (query.step()) {
                const std::string s = query.text(0);
                for (std::size_t pos = 0; pos < s.size();) {
                    const std::size_t begin = pos;
                    const char32_t c = text::nextCodePoint(s, pos);
                    ASSERT_FALSE(c == 0 || (pos - begin == 1 && c >= 0x80)) << s;
                }
            }
        }
    }
}

} // namespace

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
    EXPECT_EQ(r.count("Mitgliedschaft"), 4);
    EXPECT_EQ(r.count("StartBerecht"), 0);
    expectSoundTexts(r);
}

// A LIKE wildcard in a value must find only itself: a membership number "04-001-_001" is not
// the member 04-001-0001, and a start right given under it goes to nobody.
TEST(HostileInputTest, WildcardsInMembershipNumbersFindNothingElse)
{
    RunSetup r;
    r.files(2, 1);
    r.write("Z", {"1,04-001,04-001-_001,04-002,04-002-_001,1.10", "1,04-001,04-001-%,04-002,04-002-%,1.10"});
    r.runToEnd();
    EXPECT_EQ(r.count("StartBerecht"), 0);
    EXPECT_EQ(r.count("Mitgliedschaft"), 1);
    EXPECT_EQ(r.loggedCount("Startberechtigungen eingetragen"), 0);
}

// The same for a club number "%%%", which must stand for no club but its own. In names "%" and
// "_" keep their meaning in the searches: they widen a search as any part of a name does, so
// "_uber, Ann_" at Huber Anna's address and birth date is taken for her.
TEST(HostileInputTest, WildcardsInClubNumbersFindNoOtherClub)
{
    RunSetup r;
    r.write("V", {"1,04-001,Erster Verein,EV,,,,,,,Augsburg", "1,%%%,Prozentverein,PV,,,,,,,Augsburg"});
    r.write("M", {memberLine("04-001", "04-001-0001", "Huber", "Anna"),
                  memberLine("%%%", "04-001-0005", "Zeta", "Zora", "Nebenweg", "Ulm"),
                  memberLine("04-001", "04-001-0002", "_uber", "Ann_")});

    r.runToEnd();
    EXPECT_EQ(r.rows("SELECT M_Name FROM Schuetzendaten ORDER BY M_ID"), (Texts{"Huber ", "Zeta "}));
    EXPECT_EQ(r.rows("SELECT Mgl_Verein_ID, Mgl_Schütze_ID FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (Texts{"1|1", "2|2", "1|2"}));
}

// A line of 10 MB in every file: a name of blanks and hyphens, which every tidying rule works
// on, and a SpO-Nr without end.
TEST(HostileInputTest, ALineOf10MegabytesIsCutAndReported)
{
    std::string huge;
    while (huge.size() < 10 * 1024 * 1024)
        huge += "Ab - -  ";

    RunSetup r;
    r.writeBytes("V", "1,04-001," + huge + ",SV,,,,,,,Augsburg\r\n1,04-002,Verein,SV,,,,,,,Ort\r\n");
    r.writeBytes("M", memberLine("04-001", "04-001-0001", huge, "Hans", huge) + "\r\n");
    r.writeBytes("Z", "1,04-001,04-001-0001,04-002,04-002-0001," + huge + "\r\n");

    r.runToEnd();
    EXPECT_EQ(r.rows("SELECT Vereinsname FROM Vereinsliste ORDER BY VereinsID"),
              (Texts{"Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- A ", "Verein "}));
    EXPECT_EQ(r.rows("SELECT M_Name, M_Straße FROM Schuetzendaten"),
              (Texts{"Ab-- Ab-- Ab-- Ab-- |Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- A "}));
    EXPECT_TRUE(contains(r.log(), " nicht gefunden\r\n\r\n1 Zeilen eingelesen, 0 Startberechtigungen eingetragen"));
}

// Random bytes in files named like export files: whatever they make of it, the run ends and
// every stored text is sound.
TEST(HostileInputTest, RandomBytesNamedLikeExportFiles)
{
    std::mt19937 random(20240307);
    for (int round = 0; round < 3; ++round) {
        RunSetup r;
        for (const char* kind : {"V", "M", "Z"}) {
            std::string bytes(100 * 1024, '\0');
            for (char& b : bytes)
                b = static_cast<char>(random() & 0xFF);
            r.writeBytes(kind, bytes);
        }
        r.runToEnd();
        expectSoundTexts(r);
    }
}

// How the bytes of a name come out: Windows-1252 (its five undefined bytes kept as the control
// characters of the same number, and written back as the same bytes into the log), UTF-8 behind a
// byte-order mark, and UTF-8 without one, as an editor saves it.
TEST(HostileInputTest, EncodingsOfAName)
{
    const std::tuple<const char*, std::string, std::string, std::string> rows[] = {
        // name, start of the file, bytes of the last name, stored
        {"undefined bytes", "", "A\x81\x8D\x8F\x90\x9D", "A\u0081\u008D\u008F\u0090\u009D "},
        {"UTF-8 with mark", "\xEF\xBB\xBF", "M\xC3\xBCller", "Müller "},
        {"UTF-8 without mark", "", "M\xC3\xBCller", "Müller "},
    };
    for (const auto& [name, start, bytes, stored] : rows) {
        SCOPED_TRACE(name);
        RunSetup r;
        r.write("V", {"1,04-001,Verein,SV,,,,,,,Ort"});
        const std::string line = "1,04-001,04-001-0001,01.03.1990,,," + bytes + ",Hans,24.12.1961,M,,,,,,,,,,";
        r.writeBytes("M", start + line + "\r\n" + line + "X,\r\n"); // the second line: a problem line
        r.runToEnd();
        EXPECT_EQ(r.rows("SELECT M_Name FROM Schuetzendaten"), Texts{stored});
    }

    RunSetup r; // the log writes the undefined bytes back as they came
    r.writeBytes("V", "1,,A\x81\x8D\x8F\x90\x9D\r\n");
    r.runToEnd();
    EXPECT_TRUE(contains(readBytes(r.logPath()), "Zeile  1\t1,,A\x81\x8D\x8F\x90\x9D\r\n"));
}

// Files without content: each step reads its lines, stores nothing and closes its section.
TEST(HostileInputTest, EmptyFilesAndFilesOfLineEndsOnly)
{
    const std::tuple<const char*, std::string, int> rows[] = {
        {"empty", "", 0},
        {"only CR", std::string(10000, '\r'), 10000},
        {"only LF", std::string(10000, '\n'), 10000},        // line ends converted on the way
        {"LF and a CR", std::string(10000, '\n') + "\r", 1}, // a lone LF stays inside its line
    };
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
