#include "import/Exportdateien.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace importer;

// Each kind is looked for with its first pattern, then its second ("*" and "?" the only
// wildcards, letter case not counting); of several files the first in an order that ignores
// case is taken, and a folder is no export file.
TEST(ExportdateienTest, FirstPatternWinsAndNamesAreTakenInCaseInsensitiveOrder)
{
    TempFolder ordner;
    for (const char* name : {"Verband.V.2024.csv", "verband_v_2024.CSV", "b_M_2.csv", "A_m_1.csv", "x.z.1.csv",
                             "ab_K_b.csv"})
        std::ofstream(ordner.file(name)) << "";
    std::filesystem::create_directory(ordner.path() / "0_K_Ordner.csv");

    const Exportdateien d = ExportdateienSuchen(ordner.path().string());
    EXPECT_EQ(d.vereine.name + "|" + d.mitglieder.name + "|" + d.startrechte.name + "|" + d.kreise.name,
              "verband_v_2024.CSV|A_m_1.csv|x.z.1.csv|ab_K_b.csv");
    EXPECT_TRUE(passtZuMuster("%_Ä_.csv", "*_ä_*.csv") && passtZuMuster("a_V_b.csv", "?_V_?.csv"));
    EXPECT_FALSE(passtZuMuster("ab_V_b.csv", "?_V_?.csv") || passtZuMuster("VerbandXVX2024.csv", "*_V_*.csv") ||
                 passtZuMuster("x.m.1.csv.bak", "*.M.*.csv"));
    EXPECT_TRUE(ExportdateienSuchen(ordner.file("fehlt")).keine());
}
