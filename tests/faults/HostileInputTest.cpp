// Export files that are broken or hostile: quotes, wildcards and SQL in names and numbers, NUL
// bytes, a line of 10 MB, random bytes, undefined Windows-1252 bytes, UTF-8 with and without
// byte-order mark, empty files and files of nothing but line ends. Nothing may crash or hang,
// every value is stored as data and nothing else, and no stored text holds what would cut it
// short for the programs that read the club database.

#include "FaultRun.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/SqlFunctions.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_literals;

namespace {

// The stored texts of a query, in order.
std::vector<std::string> texts(const FaultRun& r, const std::string& sql)
{
    clubdb::Connection db = clubdb::Connection::open(r.eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
    clubdb::Statement query(db, sql);
    std::vector<std::string> result;
    while (query.step())
        result.push_back(query.isNull(0) ? "NULL" : query.text(0));
    return result;
}

std::string member(const std::string& club, const std::string& number, const std::string& name,
                   const std::string& firstName, const std::string& street = "Hauptstr.",
                   const std::string& town = "Augsburg")
{
    return "1," + club + "," + number + ",01.03.1990,,," + name + "," + firstName + ",24.12.1961,M,,,,,," + street +
           ",12,86150," + town + ",0821 12345";
}

// Every text stored anywhere in the club database, for checks that hold for all of them.
std::vector<std::string> allStoredTexts(const FaultRun& r)
{
    std::vector<std::string> all;
    clubdb::Connection db = clubdb::Connection::open(r.eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
    for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
        for (const clubdb::ColumnInfo& column : db.columns(table)) {
            clubdb::Statement query(db, "SELECT " + clubdb::quoteName(column.name) + " FROM " + table +
                                            " WHERE typeof(" + clubdb::quoteName(column.name) + ") = 'text'");
            while (query.step())
                all.push_back(query.text(0));
        }
    }
    return all;
}

bool validUtf8WithoutNul(const std::string& s)
{
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t begin = pos;
        const char32_t c = text::nextCodePoint(s, pos);
        if (c == 0 || (pos - begin == 1 && c >= 0x80))
            return false;
    }
    return true;
}

} // namespace

TEST(HostileInputTest, QuotesWildcardsAndSqlAreStoredAsData)
{
    FaultRun r;
    r.write("V", {"1,04-001,x'); DROP TABLE Vereinsliste;--,SG \"Tell\" 100%_,,,,,,,Augs;burg",
                  "1,04-002,Robert'); DELETE FROM Vereinsliste WHERE 'a'='a,100%,,,,,,,%"});
    r.write("M", {member("04-001", "04-001-0001", "O'Brien", "Robert'); DROP TABLE Schuetzendaten;--"),
                  member("04-001", "04-001-0002", "Mül\0ler"s, "Hans\0"s, "Haupt\"str.", "Augs%burg"),
                  member("04-002", "04-002-0003", "100% _", "'; --", "'", "\"")});
    r.write("Z", {"1,04-001,04-001-0001,04-002,04-002-0001,1.10'; DROP TABLE StartBerecht;--"});
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(texts(r, "SELECT Vereinsname FROM Vereinsliste ORDER BY VereinsID"),
              (std::vector<std::string>{"x'); DROP TABLE Vereinsliste;-- ",
                                        "Robert'); DELETE FROM Vereinsliste WHERE 'a'='a "}));
    EXPECT_EQ(texts(r, "SELECT VereinsAbk || '|' || GOrt FROM Vereinsliste ORDER BY VereinsID"),
              (std::vector<std::string>{"SG \"Tell\" 100%_ |Augs;burg ", "100% |% "}));
    // Names lose full stops, colons, quotes, commas and slashes, and NUL bytes; the rest is kept.
    EXPECT_EQ(texts(r, "SELECT M_Name || '|' || M_Vorname || '|' || M_Straße || '|' || M_Ort FROM Schuetzendaten "
                       "ORDER BY M_ID"),
              (std::vector<std::string>{"O'Brien |Robert'); DROP TABLE |Hauptstr. 12 |Augsburg ",
                                        "Müller |Hans |Haupt\"str. 12 |Augs%burg ", "100% _ |';-- |' 12 |\" "}));
    // The start right adds the second membership before it finds that its SpO-Nr is no discipline.
    EXPECT_EQ(r.count("Mitgliedschaft"), 4);
    EXPECT_EQ(r.count("StartBerecht"), 0);
    for (const std::string& stored : allStoredTexts(r))
        EXPECT_TRUE(validUtf8WithoutNul(stored)) << stored;
}

// A LIKE wildcard in a value must find only itself: a membership number "04-001-_001" is not
// the member 04-001-0001, and a start right given under it goes to nobody.
TEST(HostileInputTest, WildcardsInMembershipNumbersFindNothingElse)
{
    struct Row
    {
        const char* value;
        const char* field;
        bool found;
    };
    const Row rows[] = {{"04-001-_001", "04-001-0001 ", false},
                        {"04-001-_001", "04-001-_001 ", true},
                        {"100%", "1000", false},
                        {"100%", "x100%y", true},
                        {"a\\b", "a\\b", true},
                        {"a\\b", "ab", false}};
    for (const Row& row : rows)
        EXPECT_EQ(clubdb::likeMatches(row.field, clubdb::likeContains(row.value), clubdb::kLikeEscape), row.found)
            << row.value << " in " << row.field;

    FaultRun r;
    r.write("V", clubLines(2));
    r.write("M", memberLines(1));
    r.write("Z", {"1,04-001,04-001-_001,04-002,04-002-_001,1.10", "1,04-001,04-001-%,04-002,04-002-%,1.10"});
    r.frontend.questions.answers = {questions::Answer::No};
    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.count("StartBerecht"), 0);
    EXPECT_EQ(r.count("Mitgliedschaft"), 1);
    EXPECT_EQ(r.loggedCount("Startberechtigungen eingetragen"), 0);
}

// The same for a club number "%%%", which must stand for no club but its own. In names "%" and
// "_" keep their meaning in the searches: they widen a search as any part of a name does, so
// "_uber, Ann_" at Huber Anna's address and birth date is taken for her.
TEST(HostileInputTest, WildcardsInClubNumbersFindNoOtherClub)
{
    FaultRun r;
    r.write("V", {"1,04-001,Erster Verein,EV,,,,,,,Augsburg", "1,%%%,Prozentverein,PV,,,,,,,Augsburg"});
    r.write("M", {member("04-001", "04-001-0001", "Huber", "Anna"),
                  member("%%%", "04-001-0005", "Zeta", "Zora", "Nebenweg", "Ulm"),
                  member("04-001", "04-001-0002", "_uber", "Ann_")});
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(texts(r, "SELECT M_Name FROM Schuetzendaten ORDER BY M_ID"),
              (std::vector<std::string>{"Huber ", "Zeta "}));
    EXPECT_EQ(texts(r, "SELECT Mgl_Verein_ID || '|' || Mgl_Schütze_ID FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (std::vector<std::string>{"1|1", "2|2", "1|2"}));
}

// A line of 10 MB in every file: a name of blanks and hyphens, which every tidying rule works
// on, and a SpO-Nr without end.
TEST(HostileInputTest, ALineOf10MegabytesIsCutAndReported)
{
    const std::size_t size = 10 * 1024 * 1024;
    std::string blanksAndHyphens;
    blanksAndHyphens.reserve(size);
    while (blanksAndHyphens.size() < size)
        blanksAndHyphens += "Ab - -  ";

    FaultRun r;
    r.writeBytes("V", "1,04-001," + blanksAndHyphens + ",SV,,,,,,,Augsburg\r\n1,04-002,Verein,SV,,,,,,,Ort\r\n");
    r.writeBytes("M", member("04-001", "04-001-0001", blanksAndHyphens, "Hans", blanksAndHyphens) + "\r\n");
    r.writeBytes("Z", "1,04-001,04-001-0001,04-002,04-002-0001," + blanksAndHyphens + "\r\n");
    r.frontend.questions.answers = {questions::Answer::No};

    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_EQ(r.integrity(), "ok");
    EXPECT_EQ(texts(r, "SELECT Vereinsname FROM Vereinsliste ORDER BY VereinsID"),
              (std::vector<std::string>{"Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- "
                                        "Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- A ",
                                        "Verein "}));
    EXPECT_EQ(texts(r, "SELECT M_Name || '|' || M_Straße FROM Schuetzendaten"),
              (std::vector<std::string>{"Ab-- Ab-- Ab-- Ab-- |Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- Ab-- A "}));
    const std::string log = r.log();
    EXPECT_NE(log.find(" nicht gefunden\r\n\r\n1 Zeilen eingelesen, 0 Startberechtigungen eingetragen"),
              std::string::npos);
}

// Random bytes in files named like export files: whatever they make of it, the run ends and
// every stored text is sound.
TEST(HostileInputTest, RandomBytesNamedLikeExportFiles)
{
    std::mt19937 random(20240307);
    const auto randomBytes = [&](std::size_t size) {
        std::string bytes(size, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random() & 0xFF);
        return bytes;
    };
    for (int round = 0; round < 3; ++round) {
        FaultRun r;
        r.writeBytes("V", randomBytes(100 * 1024));
        r.writeBytes("M", randomBytes(100 * 1024));
        r.writeBytes("Z", randomBytes(100 * 1024));
        r.frontend.questions.answers = {questions::Answer::No};
        ASSERT_EQ(r.start(), run::Laufende::Beendet);
        EXPECT_EQ(r.integrity(), "ok");
        for (const std::string& stored : allStoredTexts(r))
            EXPECT_TRUE(validUtf8WithoutNul(stored));
    }
}

// How the bytes of a name come out: Windows-1252 (its five undefined bytes kept as the control
// characters of the same number, and written back as the same bytes into the log), UTF-8 behind a
// byte-order mark, and UTF-8 without one, which is read as Windows-1252 like every export file.
TEST(HostileInputTest, EncodingsOfAName)
{
    struct Row
    {
        const char* name;
        std::string start; // of the file
        std::string bytes; // of the last name
        std::string stored;
    };
    const Row rows[] = {
        {"Windows-1252", "", "M\xFCller", "Müller "},
        {"undefined bytes", "", "A\x81\x8D\x8F\x90\x9D", "A\u0081\u008D\u008F\u0090\u009D "},
        {"UTF-8 with mark", "\xEF\xBB\xBF", "M\xC3\xBCller", "Müller "},
        {"UTF-8 without mark", "", "M\xC3\xBCller", "MÃ¼ller "},
        {"UTF-8 with mark, invalid byte", "\xEF\xBB\xBF", "M\xFCller", "Müller "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultRun r;
        r.write("V", {"1,04-001,Verein,SV,,,,,,,Ort"});
        const std::string line = "1,04-001,04-001-0001,01.03.1990,,," + row.bytes + ",Hans,24.12.1961,M,,,,,,,,,,";
        r.writeBytes("M", row.start + line + "\r\n" + line + "X,\r\n"); // the second line: a problem line
        r.frontend.questions.answers = {questions::Answer::No};
        ASSERT_EQ(r.start(), run::Laufende::Beendet);
        EXPECT_EQ(texts(r, "SELECT M_Name FROM Schuetzendaten"), std::vector<std::string>{row.stored});
    }

    FaultRun r; // the log writes the undefined bytes back as they came
    r.writeBytes("V", "1,,A\x81\x8D\x8F\x90\x9D\r\n");
    r.frontend.questions.answers = {questions::Answer::No};
    ASSERT_EQ(r.start(), run::Laufende::Beendet);
    EXPECT_NE(readBytes(r.logPath()).find("Zeile  1\t1,,A\x81\x8D\x8F\x90\x9D\r\n"), std::string::npos);
}

// Files without content: each step reads its lines, stores nothing and closes its section.
TEST(HostileInputTest, EmptyFilesAndFilesOfLineEndsOnly)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        int lines;
    };
    const Row rows[] = {
        {"empty", "", 0},
        {"only CR", std::string(10000, '\r'), 10000},
        {"only LF", std::string(10000, '\n'), 1}, // a lone LF stays inside its line
        {"only CR LF", std::string(10000, '\r') + "\n", 10000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultRun r;
        r.writeBytes("V", row.bytes);
        r.writeBytes("M", row.bytes);
        r.writeBytes("Z", row.bytes);
        r.frontend.questions.answers = {questions::Answer::No};
        ASSERT_EQ(r.start(), run::Laufende::Beendet);
        const std::string log = r.log();
        const std::string lines = std::to_string(row.lines) + " Zeilen eingelesen, 0 ";
        EXPECT_NE(log.find(lines + "Vereine angelegt"), std::string::npos);
        EXPECT_NE(log.find(lines + "Schützen angelegt"), std::string::npos);
        EXPECT_NE(log.find(lines + "Startberechtigungen eingetragen"), std::string::npos);
        EXPECT_EQ(r.lauf.problemzahl(), 3 * row.lines);
    }
}
