#include "bench/ExportGenerator.h"
#include "import/Exportdateien.h"
#include "run/RunSetup.h"

#include <gtest/gtest.h>

namespace {

// A club database with the sample definitions, into which generated exports are converted one
// after the other, each a run of its own a minute after the one before.
struct ClubDatabase : RunSetup
{
    int minute = 5;

    explicit ClubDatabase(importer::Suchverfahren verfahren)
    {
        std::filesystem::remove(definitions);
        clubdb::Connection::create(definitions).execute(readBytes(TVX_BEISPIEL_WKAK_SQL));
        lauf.suchverfahren = verfahren;
    }

    // Converts the export folder and returns the conversion log.
    std::string convert(const std::filesystem::path& exportFolder)
    {
        now = *clubdb::Date::fromCivil(2026, 3, 7, 9, minute++, 0);
        eingaben.exportOrdner = exportFolder.string() + "/";
        eingaben.dateien = importer::ExportdateienSuchen(exportFolder.string());
        frontend.questions.answers = {questions::Answer::No}; // the log is offered when lines had problems
        EXPECT_EQ(start(), run::Laufende::Beendet);
        return readLog(lauf.logPfad());
    }

    std::vector<std::string> allRows() const
    {
        std::vector<std::string> result;
        for (const char* table : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"})
            for (const std::string& row : rows(std::string("SELECT * FROM ") + table + " ORDER BY 1"))
                result.push_back(table + ("|" + row));
        return result;
    }
};

} // namespace

// The index in memory must store and report exactly what the plain queries do, on hostile
// exports and on a club database that already holds an earlier export.
TEST(ExportGeneratorTest, BothSearchesGiveTheSameClubDatabaseAndLog)
{
    for (const std::uint32_t seed : {21u, 22u}) {
        SCOPED_TRACE(seed);
        TempFolder folder;
        exportgen::ExportOptions options = exportgen::ExportOptions::hostile(seed, 800);
        options.hostilePercent = 10;
        const exportgen::ExportFiles first = exportgen::generateExport(folder.path() / "erster", options);
        options.secondExport = true;
        const exportgen::ExportFiles second = exportgen::generateExport(folder.path() / "zweiter", options);

        ClubDatabase index(importer::Suchverfahren::Index);
        ClubDatabase abfragen(importer::Suchverfahren::Abfragen);
        const std::string log = index.convert(folder.path() / "erster");
        EXPECT_EQ(log, abfragen.convert(folder.path() / "erster"));
        // Every line is converted: every club, and every home club of a membership number, is in
        // the clubs file; the duplicates and near-duplicates of the export are reported.
        const std::string clubs = std::to_string(first.clubLines);
        const std::string rights = std::to_string(first.startRightLines);
        EXPECT_TRUE(contains(log, clubs + " Zeilen eingelesen, " + clubs + " Vereine angelegt\r\n"));
        EXPECT_TRUE(contains(log, rights + " Zeilen eingelesen, " + rights + " Startberechtigungen eingetragen\r\n"));
        EXPECT_FALSE(contains(log, "konnte in der Vereinsdatenbank nicht gefunden werden"));
        EXPECT_FALSE(contains(log, "Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden"));
        EXPECT_TRUE(contains(log, "Eventuell doppelter Eintrag!"));
        const std::int64_t persons = index.count("Schuetzendaten");
        EXPECT_GE(persons, static_cast<std::int64_t>(first.persons));
        EXPECT_LT(persons, 800);
        EXPECT_EQ(index.count("StartBerecht"), static_cast<std::int64_t>(first.startRightLines));

        // The repeated persons of the second export are found again instead of being added twice.
        const std::string again = index.convert(folder.path() / "zweiter");
        EXPECT_EQ(again, abfragen.convert(folder.path() / "zweiter"));
        EXPECT_TRUE(contains(again, "\r\n800 Zeilen eingelesen, "));
        EXPECT_TRUE(contains(again, "Doppelter Eintrag! Bitte Prüfen!"));
        EXPECT_LT(index.count("Schuetzendaten"), persons + static_cast<std::int64_t>(second.persons));
        EXPECT_EQ(index.allRows(), abfragen.allRows());
    }
}
