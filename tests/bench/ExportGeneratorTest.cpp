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
        exportgen::generateExport(folder.path() / "erster", options);
        options.secondExport = true;
        exportgen::generateExport(folder.path() / "zweiter", options);

        ClubDatabase index(importer::Suchverfahren::Index);
        ClubDatabase abfragen(importer::Suchverfahren::Abfragen);
        const std::string log = index.convert(folder.path() / "erster");
        EXPECT_EQ(log, abfragen.convert(folder.path() / "erster"));
        // The exports hold the near-duplicates and repeated persons that the searches must find.
        EXPECT_TRUE(contains(log, "Eventuell doppelter Eintrag!"));
        const std::string again = index.convert(folder.path() / "zweiter");
        EXPECT_EQ(again, abfragen.convert(folder.path() / "zweiter"));
        EXPECT_TRUE(contains(again, "Doppelter Eintrag! Bitte Prüfen!"));
        EXPECT_EQ(index.allRows(), abfragen.allRows());
    }
}

// Names drawn as often as they occur in the country: a few very common ones, so that persons share
// first and last name more and more as the export grows, and a long tail, so that most do not;
// many persons share a postcode. (At a million lines more than a quarter of the persons share
// their names, the most common pair 50 times or more; tvx-bench shows it.)
TEST(ExportGeneratorTest, PersonsShareNamesAndPostcodesAsInACountry)
{
    // Members per club, and the persons per postcode on average, at least. Between 5 and 10 % of
    // the persons share first and last name with another, the most common pair at least 5 of them.
    for (const auto& [membersPerClub, personsPerPostcode] : {std::pair<std::size_t, std::size_t>{100, 100}, {40, 50}}) {
        SCOPED_TRACE(membersPerClub);
        TempFolder folder;
        exportgen::ExportOptions options;
        options.memberLines = 30'000;
        options.membersPerClub = membersPerClub;
        const exportgen::ExportFiles files = exportgen::generateExport(folder.path(), options);
        const double namesakes = static_cast<double>(files.namesakes) / static_cast<double>(files.persons);
        EXPECT_TRUE(namesakes >= 0.05 && namesakes <= 0.10) << namesakes;
        EXPECT_GE(files.largestNamesakes, 5u);
        EXPECT_GE(files.persons, personsPerPostcode * files.postcodes);
    }
}
