#include "clubdb/SqlFunctions.h"
#include "import/MitgliederUmsetzen.h"
#include "import/StartberechtigungenUmsetzen.h"
#include "import/VereineUmsetzen.h"
#include "support/StepSetup.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <random>

using namespace importer;

namespace {

// Club numbers as the export may write them: with blanks (inside and at the edges), letters in
// either case (Windows-1252 letters too), "%" and "_", of associations, contained in other
// numbers ("001" becomes "-001"), and the same club in several spellings.
const char* const kVereine[] = {"04-001",   "04001",    "001",    "04-0 1", "AB-001",  "ab-001",  "Äb-001",
                                "äB-001",   "0%-001",   "0_-001", "%%%",    " 04-007", "04-012 ", " ab-001 ",
                                "99000004", "99000104", "04-007", "04-012", "05-001"};

// Export lines drawn from small pools, so that equal and similar values meet often: names that
// differ only in case, contain each other or hold LIKE's wildcards and apostrophes, empty first
// names and postcodes, the same person under other numbers, in other clubs, moved or mistyped;
// clubs stored twice, their texts with blanks at the edges; start rights between all of these,
// the numbers now and then in other case.
struct Export
{
    std::vector<std::string> vereine;
    std::vector<std::string> mitglieder;
    std::vector<std::string> startrechte;
};

Export exportDateien(unsigned seed, int anzahl)
{
    const char* const namen[] = {"Müller", "MÜLLER", "Müller-Lüdenscheidt", "D'Angelo", "O'Brien", "Mai",
                                 "Maier",  "Meier",  "100%",                "Gr_n",     "Ölß",     "de Vries"};
    const char* const vornamen[] = {"Hans", "HANS", "Hans-Peter", "Anna", "", "Eva_", "Jo%", "Jo"};
    const char* const daten[] = {"24.12.1961", "24.12.1961", "01.01.1970", "1.2.85", "", "31.02.2000"};
    const char* const plz[] = {"86150", "86152", "", "86150 ", "CH-8001 Zürich"};
    const char* const strassen[] = {"Hauptstr.", "Hauptstraße", "", "Am Bach", "Weg_1"};
    const char* const orte[] = {"Augsburg", "augsburg", "Friedberg", ""};
    std::mt19937 zufall(seed);
    const auto eins = [&](const auto& pool) { return std::string(pool[zufall() % std::size(pool)]); };
    const auto andererFall = [&](std::string nummer) {
        if (zufall() % 3 == 0)
            nummer = zufall() % 2 ? text::toUpper(nummer) : clubdb::caseFolded(nummer);
        return nummer;
    };

    Export e;
    // The first person stored: a membership in the club database names it already (see umsetzen()).
    e.mitglieder.push_back("1,05-001,05-001-0001,01.02.1990,,,Zeta,Zora,03.03.1933,W,,,,,,Nebenweg,1,86150,Ulm,");
    for (int i = 0; i < 12; ++i)
        e.vereine.push_back("1," + eins(kVereine) + ", Verein " + std::to_string(i) + " ,V" + std::to_string(i) +
                            " ,,,,Am Bach , 3,86150 , Ort ");
    for (int i = 0; i < anzahl; ++i) {
        const std::string verein = zufall() % 8 ? eins(kVereine) : "";
        const std::string heim = zufall() % 4 == 0 ? eins(kVereine) : verein;
        const std::string nummer = heim + "-" + std::to_string(10000 + zufall() % 30).substr(1);
        e.mitglieder.push_back("1," + verein + "," + nummer + ",01.0" + std::to_string(1 + zufall() % 9) + ".1990,,," +
                               eins(namen) + "," + eins(vornamen) + "," + eins(daten) + "," +
                               (zufall() % 3 ? "M" : "W") + ",,,,,," + eins(strassen) + "," +
                               std::to_string(zufall() % 3) + "," + eins(plz) + "," + eins(orte) + ",0821 / 123-45");
        if (zufall() % 3 == 0) {
            const std::string zweit = eins(kVereine);
            const std::string zweitnummer =
                zufall() % 2 ? nummer : zweit + "-" + std::to_string(10000 + zufall() % 30).substr(1);
            e.startrechte.push_back("1," + andererFall(heim) + "," + andererFall(nummer) + "," + andererFall(zweit) +
                                    "," + andererFall(zweitnummer) + ",1.10");
        }
    }
    // Memberships that only another program can have stored (see umsetzen()).
    e.startrechte.insert(e.startrechte.end(), {"1,04-012,04-012-0003,04-001,04-001-0003,1.10",
                                               "1,05-001,05-001-0004,04-001,04-001-0004,1.10"});
    return e;
}

// Every row of every table, then the log, after the exports were converted one after the other,
// into a new club database or one that another program has written to.
std::vector<std::string> umsetzen(Suchverfahren verfahren, const std::vector<Export>& exporte, bool logEin,
                                  bool fremdeZeilen)
{
    StepSetup s;
    s.context.suchverfahren = verfahren;
    s.definitions.disziplinen = {{{.Name = "Luftgewehr", .SpoNr = "1.10", .BezSer = {}, .BezZwSu = {}}}, 1};
    if (!logEin)
        s.withoutLog();
    // Written by another program: clubs without number or with a long one, a membership without
    // person, one of a person not yet stored, with a number longer than those of the export.
    if (fremdeZeilen)
        s.execute("INSERT INTO Vereinsliste (VNummer) VALUES ('04-012 '), (NULL), ('Gau 05-001 Sonder ');"
                  "INSERT INTO Mitgliedschaft (Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr) VALUES "
                  "(NULL, 1, '04-012-0003 '), (1, 3, 'x05-001-0004')");
    for (const Export& e : exporte) {
        writeExportFile(s.folder.file("B_V_1.csv"), e.vereine);
        writeExportFile(s.folder.file("B_M_1.csv"), e.mitglieder);
        writeExportFile(s.folder.file("B_Z_1.csv"), e.startrechte);
        VereineUmsetzen(s.context, "B_V_1.csv");
        MitgliederUmsetzen(s.context, "B_M_1.csv");
        StartberechtigungenUmsetzen(s.context, "B_Z_1.csv");
    }
    std::vector<std::string> ergebnis;
    for (const char* tabelle : {"Vereinsliste", "Schuetzendaten", "Mitgliedschaft", "StartBerecht"}) {
        const std::vector<std::string> zeilen = s.rows(std::string("SELECT * FROM ") + tabelle + " ORDER BY 1");
        ergebnis.insert(ergebnis.end(), zeilen.begin(), zeilen.end());
    }
    ergebnis.push_back(logEin ? s.logText() : std::string());
    return ergebnis;
}

} // namespace

// The indexes in memory must store and report exactly what the plain queries do, in a new club
// database (where the person index knows every membership) and in one that already holds clubs,
// persons and memberships.
TEST(PersonenindexTest, GivesExactlyTheResultOfThePlainQueries)
{
    for (const auto& [seed, fremdeZeilen] : {std::pair{1u, true}, {2u, true}, {3u, true}, {4u, false}}) {
        const std::vector<Export> exporte = {exportDateien(seed, 300), exportDateien(seed + 100, 200)};
        const bool logEin = seed != 3;
        const auto abfragen = umsetzen(Suchverfahren::Abfragen, exporte, logEin, fremdeZeilen);
        EXPECT_EQ(umsetzen(Suchverfahren::Index, exporte, logEin, fremdeZeilen), abfragen) << "seed " << seed;
        EXPECT_GT(abfragen.size(), 500u);
        if (logEin && fremdeZeilen) {
            for (const char* bericht : {"Eventuell doppelter Eintrag", "Doppelter Eintrag", " bereits eingetragen!",
                                        "Stammverein nicht gefunden!", "Zweitmitgliedschaft nicht gefunden",
                                        "Datenbankfehler", " Startberechtigungen eingetragen"})
                EXPECT_NE(abfragen.back().find(bericht), std::string::npos) << bericht;
        }
    }
}
