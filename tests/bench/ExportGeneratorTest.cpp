#include "bench/ExportGenerator.h"
#include "clubdb/Connection.h"
#include "clubdb/DatenbankErstellen.h"
#include "clubdb/Statement.h"
#include "import/Exportdateien.h"
#include "run/Umsetzungslauf.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace {

class Frontend : public run::Lauffrontend
{
public:
    ScriptedQuestions questions;

    questions::Questions& fragen() override { return questions; }
    void inhalt(const clubdb::VdbInhalt&) override {}
    void laufzustand(bool) override {}
    void logAnzeigen(const std::string&) override {}
    void fortschritt(importer::Anzeige, const std::string&) override {}
    void ereignisseVerarbeiten() override {}
};

// A club database and the sample definitions; each conversion into it is one run of its own.
struct ClubDatabase
{
    TempFolder folder;
    std::string path = folder.file("Verein.vdb");
    std::string definitions = folder.file("wkak.zrv");

    ClubDatabase()
    {
        clubdb::DatenbankErstellen(path);
        clubdb::Connection::create(definitions).execute(readBytes(TVX_BEISPIEL_WKAK_SQL));
    }

    // Converts the export folder and returns the conversion log.
    std::string convert(const std::filesystem::path& exportFolder, int minute,
                        importer::Suchverfahren verfahren = importer::Suchverfahren::Index)
    {
        Frontend frontend;
        frontend.questions.answers = {questions::Answer::No}; // the log is offered when lines had problems
        run::Umsetzungslauf lauf(frontend, [minute] { return *clubdb::Date::fromCivil(2026, 3, 7, 9, minute, 0); });
        lauf.suchverfahren = verfahren;
        run::Laufeingaben eingaben;
        eingaben.exportOrdner = exportFolder.string() + "/";
        eingaben.dateien = importer::ExportdateienSuchen(exportFolder.string());
        eingaben.vdbPfad = path;
        eingaben.vdbOrdner = folder.path().string() + "/";
        eingaben.programmOrdner = folder.path().string();
        eingaben.anwendungsdatenOrdner = folder.file("anwendungsdaten");
        std::string definitionsPfad = definitions;
        EXPECT_EQ(lauf.start(eingaben, definitionsPfad), run::Laufende::Beendet);
        return readLog(lauf.logPfad());
    }

    // Every row of every table, fields joined by "|".
    std::vector<std::string> rows()
    {
        clubdb::Connection db = clubdb::Connection::open(path);
        std::vector<std::string> result;
        for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
            clubdb::Statement query(db, std::string("SELECT * FROM ") + table + " ORDER BY 1");
            while (query.step()) {
                std::string row = table;
                for (int i = 0; i < query.columnCount(); ++i)
                    row += "|" + (query.isNull(i) ? std::string("NULL") : query.text(i));
                result.push_back(row);
            }
        }
        return result;
    }

    std::int64_t count(const std::string& table)
    {
        clubdb::Connection db = clubdb::Connection::open(path);
        clubdb::Statement query(db, "SELECT count(*) FROM " + table);
        EXPECT_TRUE(query.step());
        return query.integer(0);
    }
};

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "the last line ends with CR LF";
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line + ",");
    std::string field;
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    return fields;
}

} // namespace

TEST(ExportGeneratorTest, TheSameSeedGivesTheSameBytesInWindows1252WithCrLf)
{
    TempFolder folder;
    const exportgen::ExportOptions options = exportgen::ExportOptions::hostile(7, 300);
    const exportgen::ExportFiles a = exportgen::generateExport(folder.path() / "a", options);
    const exportgen::ExportFiles b = exportgen::generateExport(folder.path() / "b", options);
    EXPECT_EQ(a.members.filename(), "Verband_M_2026.csv");
    for (const auto& [x, y] : {std::pair{a.districts, b.districts}, std::pair{a.clubs, b.clubs},
                               std::pair{a.members, b.members}, std::pair{a.startRights, b.startRights}})
        EXPECT_EQ(readBytes(x.string()), readBytes(y.string())) << x;
    exportgen::ExportOptions other = options;
    other.seed = 8;
    EXPECT_NE(readBytes(exportgen::generateExport(folder.path() / "c", other).members.string()),
              readBytes(a.members.string()));

    // Windows-1252 without a heading line, CR LF, and every line with the columns its importer reads.
    const std::string members = readBytes(a.members.string());
    EXPECT_EQ(std::count(members.begin(), members.end(), '\n'), 300);
    EXPECT_EQ(std::count(members.begin(), members.end(), '\r'), 300);
    EXPECT_NE(members.find('\xFC'), std::string::npos); // ü
    EXPECT_NE(members.find('\xDF'), std::string::npos); // ß
    EXPECT_EQ(members.find("\xC3\xBC"), std::string::npos);
    const std::vector<std::string> lines = linesOf(members);
    ASSERT_EQ(lines.size(), a.memberLines);
    bool upperCase = false, emptyFirstName = false, emptyPostcode = false;
    for (const std::string& line : lines) {
        const std::vector<std::string> f = fieldsOf(text::decodeWindows1252(line));
        ASSERT_EQ(f.size(), 20u) << line;
        upperCase =
            upperCase || (f[6].size() > 3 && f[6].find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos);
        emptyFirstName = emptyFirstName || f[7].empty();
        emptyPostcode = emptyPostcode || f[17].empty();
    }
    EXPECT_TRUE(upperCase && emptyFirstName && emptyPostcode);
    const std::string text = text::decodeWindows1252(members);
    for (const char* hostile : {"'", "%", "_"})
        EXPECT_NE(text.find(hostile), std::string::npos) << hostile;
    for (const std::string& line : linesOf(readBytes(a.clubs.string())))
        EXPECT_EQ(fieldsOf(line).size(), 19u) << line;
    for (const std::string& line : linesOf(readBytes(a.startRights.string())))
        EXPECT_EQ(fieldsOf(line).size(), 6u) << line;
}

TEST(ExportGeneratorTest, EveryLineOfAHostileExportIsConverted)
{
    TempFolder folder;
    const exportgen::ExportFiles files =
        exportgen::generateExport(folder.path(), exportgen::ExportOptions::hostile(11, 300));
    ClubDatabase db;
    const std::string log = db.convert(folder.path(), 5);

    const std::string clubs = std::to_string(files.clubLines);
    const std::string rights = std::to_string(files.startRightLines);
    EXPECT_NE(log.find(clubs + " Zeilen eingelesen, " + clubs + " Vereine angelegt\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\n300 Zeilen eingelesen, "), std::string::npos);
    EXPECT_NE(log.find(rights + " Zeilen eingelesen, " + rights + " Startberechtigungen eingetragen\r\n"),
              std::string::npos);
    // Every club and every home club of a membership number is in the clubs file.
    EXPECT_EQ(log.find("konnte in der Vereinsdatenbank nicht gefunden werden"), std::string::npos);
    EXPECT_EQ(log.find("Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden"), std::string::npos);
    // The duplicates and near-duplicates of the export are reported.
    EXPECT_NE(log.find("Eventuell doppelter Eintrag!"), std::string::npos);

    const std::int64_t persons = db.count("Schuetzendaten");
    EXPECT_GE(persons, static_cast<std::int64_t>(files.persons));
    EXPECT_LT(persons, 300);
    EXPECT_EQ(db.count("StartBerecht"), static_cast<std::int64_t>(files.startRightLines));
}

TEST(ExportGeneratorTest, ASecondExportRepeatsPersonsOfTheFirst)
{
    TempFolder folder;
    exportgen::ExportOptions options = exportgen::ExportOptions::hostile(13, 300);
    const exportgen::ExportFiles first = exportgen::generateExport(folder.path() / "erster", options);
    options.secondExport = true;
    const exportgen::ExportFiles second = exportgen::generateExport(folder.path() / "zweiter", options);

    EXPECT_EQ(second.memberLines, 300u);
    EXPECT_EQ(readBytes(first.clubs.string()), readBytes(second.clubs.string()));
    const std::vector<std::string> a = linesOf(readBytes(first.members.string()));
    const std::vector<std::string> b = linesOf(readBytes(second.members.string()));
    const std::set<std::string> earlier(a.begin(), a.end());
    const auto repeated = std::count_if(b.begin(), b.end(), [&](const std::string& l) { return earlier.count(l) > 0; });
    EXPECT_GT(repeated, 30);
    EXPECT_LT(repeated, 200);

    ClubDatabase db;
    db.convert(first.members.parent_path(), 5);
    const std::int64_t afterFirst = db.count("Schuetzendaten");
    const std::string log = db.convert(second.members.parent_path(), 6);
    EXPECT_NE(log.find("\r\n300 Zeilen eingelesen, "), std::string::npos);
    // The repeated persons are found again instead of being added a second time.
    EXPECT_LT(db.count("Schuetzendaten"), afterFirst + static_cast<std::int64_t>(second.persons));
    EXPECT_NE(log.find("Doppelter Eintrag! Bitte Prüfen!"), std::string::npos);
}

// The index in memory must store and report exactly what the plain queries do, on hostile
// exports and on a club database that already holds an earlier export.
TEST(ExportGeneratorTest, BothSearchesGiveTheSameClubDatabaseAndLog)
{
    for (const std::uint32_t seed : {21u, 22u}) {
        TempFolder folder;
        exportgen::ExportOptions options = exportgen::ExportOptions::hostile(seed, 800);
        options.hostilePercent = 10;
        const exportgen::ExportFiles first = exportgen::generateExport(folder.path() / "erster", options);
        options.secondExport = true;
        const exportgen::ExportFiles second = exportgen::generateExport(folder.path() / "zweiter", options);

        ClubDatabase index;
        ClubDatabase abfragen;
        for (const auto& [files, minute] : {std::pair{first, 5}, std::pair{second, 6}}) {
            const std::filesystem::path exportFolder = files.members.parent_path();
            EXPECT_EQ(index.convert(exportFolder, minute, importer::Suchverfahren::Index),
                      abfragen.convert(exportFolder, minute, importer::Suchverfahren::Abfragen))
                << "seed " << seed;
        }
        EXPECT_EQ(index.rows(), abfragen.rows()) << "seed " << seed;
        EXPECT_GT(index.count("Schuetzendaten"), 700);
    }
}
