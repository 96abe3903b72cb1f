#include "import/Exportdateien.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace importer;

// Only "*" and "?" are wildcards; letter case does not count.
TEST(ExportdateienTest, PatternsIgnoreCaseAndTreatOnlyStarAndQuestionMarkAsWildcards)
{
    // clang-format off
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"Verband_V_2024.csv", "*_V_*.csv", true}, {"verband_v_2024.CSV", "*_V_*.csv", true},
        {"VerbandXVX2024.csv", "*_V_*.csv", false}, {"_V_.csv", "*_V_*.csv", true}, {"x.m.1.csv", "*.M.*.csv", true},
        {"x.m.1.csv.bak", "*.M.*.csv", false}, {"Bezirk_Ä_1.csv", "*_ä_*.csv", true}, {"a_V_b.csv", "?_V_?.csv", true},
        {"ab_V_b.csv", "?_V_?.csv", false}, {"100%_V_.csv", "*_V_*.csv", true},
    };
    // clang-format on
    for (const auto& [name, muster, passt] : rows)
        EXPECT_EQ(passtZuMuster(name, muster), passt) << name << " ~ " << muster;
}

// The first pattern wins over the second, and of the names the first in an order that ignores case.
TEST(ExportdateienTest, FirstPatternWinsAndNamesAreTakenInCaseInsensitiveOrder)
{
    TempFolder ordner;
    for (const char* name : {"Verband.V.2024.csv", "Verband_V_2024.csv", "b_M_2.csv", "A_m_1.csv", "x.z.1.csv"})
        std::ofstream(ordner.file(name)) << "";
    std::filesystem::create_directory(ordner.path() / "0_K_Ordner.csv"); // a folder is no export file

    const Exportdateien d = ExportdateienSuchen(ordner.path().string());
    EXPECT_FALSE(d.kreise.gefunden);
    EXPECT_EQ(d.vereine.name, "Verband_V_2024.csv");
    EXPECT_EQ(d.mitglieder.name, "A_m_1.csv");
    EXPECT_EQ(std::pair(d.startrechte.name, d.startrechte.gefunden), std::pair(std::string("x.z.1.csv"), true));
    EXPECT_FALSE(d.keine());
    EXPECT_TRUE(ExportdateienSuchen(ordner.file("fehlt")).keine());
}
