#include "import/MitgliederUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

#include <random>

using namespace importer;

namespace {

// Members lines drawn from small pools, so that equal and similar persons meet often: names that
// differ only in case, contain each other or hold LIKE's wildcards and apostrophes, empty first
// names and postcodes, the same person under other numbers, in other clubs, moved or mistyped.
std::vector<std::string> zeilen(unsigned seed, int anzahl)
{
    const char* const namen[] = {"Müller", "MÜLLER", "Müller-Lüdenscheidt", "D'Angelo", "O'Brien", "Mai",
                                 "Maier",  "Meier",  "100%",                "Gr_n",     "Ölß",     "de Vries"};
    const char* const vornamen[] = {"Hans", "HANS", "Hans-Peter", "Anna", "", "Eva_", "Jo%", "Jo"};
    const char* const daten[] = {"24.12.1961", "24.12.1961", "01.01.1970", "1.2.85", "", "31.02.2000"};
    const char* const plz[] = {"86150", "86152", "", "86150 "};
    const char* const strassen[] = {"Hauptstr.", "Hauptstraße", "", "Am Bach", "Weg_1"};
    const char* const orte[] = {"Augsburg", "augsburg", "Friedberg", ""};
    const char* const vereine[] = {"04-001", "04-007", "04-012", "05-001", ""};
    std::mt19937 zufall(seed);
    const auto eins = [&](const auto& pool) { return std::string(pool[zufall() % std::size(pool)]); };
    std::vector<std::string> ergebnis;
    for (int i = 0; i < anzahl; ++i) {
        const std::string verein = eins(vereine);
        const std::string heim = zufall() % 4 == 0 ? eins(vereine) : verein;
        const std::string nummer = heim + "-" + std::to_string(zufall() % 30);
        ergebnis.push_back("1," + verein + "," + nummer + ",01.0" + std::to_string(1 + zufall() % 9) + ".1990,,," +
                           eins(namen) + "," + eins(vornamen) + "," + eins(daten) + "," + (zufall() % 3 ? "M" : "W") +
                           ",,,,,," + eins(strassen) + "," + std::to_string(zufall() % 3) + "," + eins(plz) + "," +
                           eins(orte) + ",0821 / 123-45");
    }
    return ergebnis;
}

// The persons, the memberships and the log after the files were converted one after the other.
std::vector<std::string> umsetzen(Suchverfahren verfahren, const std::vector<std::vector<std::string>>& dateien,
                                  bool logEin)
{
    StepSetup s;
    s.context.suchverfahren = verfahren;
    if (!logEin)
        s.withoutLog();
    s.execute("INSERT INTO Vereinsliste (VNummer) VALUES ('04-001 '), ('104-007 '), ('04-007 '), ('04-012 ')");
    for (const std::vector<std::string>& datei : dateien) {
        writeExportFile(s.folder.file("B_M_1.csv"), datei);
        MitgliederUmsetzen(s.context, "B_M_1.csv");
    }
    std::vector<std::string> ergebnis = s.rows("SELECT * FROM Schuetzendaten ORDER BY M_ID");
    for (const std::string& zeile : s.rows("SELECT * FROM Mitgliedschaft ORDER BY Mgl_ID"))
        ergebnis.push_back(zeile);
    ergebnis.push_back(logEin ? s.logText() : std::string());
    return ergebnis;
}

} // namespace

// The index in memory must store and report exactly what the plain queries do, also for a
// club database that already holds persons from an earlier run.
TEST(PersonenindexTest, GivesExactlyTheResultOfThePlainQueries)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        const std::vector<std::vector<std::string>> dateien = {zeilen(seed, 300), zeilen(seed + 100, 200)};
        for (const bool logEin : {true, false}) {
            const auto abfragen = umsetzen(Suchverfahren::Abfragen, dateien, logEin);
            EXPECT_EQ(umsetzen(Suchverfahren::Index, dateien, logEin), abfragen) << "seed " << seed;
            EXPECT_GT(abfragen.size(), 100u);
            // The pools are made to bring possible and definite duplicates.
            EXPECT_TRUE(!logEin || (abfragen.back().find("Eventuell doppelter Eintrag") != std::string::npos &&
                                    abfragen.back().find("*\t-------> Doppelter Eintrag") != std::string::npos));
        }
    }
}
