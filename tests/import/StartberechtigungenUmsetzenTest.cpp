#include "import/StartberechtigungenUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

using namespace importer;

TEST(StartberechtigungenUmsetzenTest, LayoutFromTheFirstLineAndCleanedValues)
{
    EXPECT_TRUE(SiebenSpalten("1,a,b,c,d,e,f"));
    EXPECT_TRUE(SiebenSpalten(",a,b,c,d,e,f,g")); // a comma in the first character does not count
    EXPECT_FALSE(SiebenSpalten(",a,b,c,d,e,f"));
    EXPECT_FALSE(SiebenSpalten("1,a,b,c,d,e"));
    EXPECT_FALSE(SiebenSpalten("1,a,b,c,d,e,f,g"));
    EXPECT_FALSE(SiebenSpalten(""));

    const Startrechtszeile sechs = StartrechtszeileAuswerten("x,04-001,04-001-0027,04-007,04-007-0100, 1.10 ", false);
    EXPECT_TRUE(sechs.vollstaendig);
    EXPECT_EQ(sechs.stammverein, "04-001");
    EXPECT_EQ(sechs.stammnummer, "04-001-0027");
    EXPECT_EQ(sechs.zweitverein, "04-007");
    EXPECT_EQ(sechs.zweitnummer, "04-007-0100");
    EXPECT_EQ(sechs.spoNr, "1.10");
    const Startrechtszeile sieben =
        StartrechtszeileAuswerten("x,04-001,04-001-0027,egal,04-007,04-007-0100,1.10,mit Komma", true);
    EXPECT_EQ(sieben.zweitverein, "04-007");
    EXPECT_EQ(sieben.spoNr, "1.10,mit Komma");
    EXPECT_FALSE(StartrechtszeileAuswerten("x,04-001,04-001-0027,04-007,04-007-0100", false).vollstaendig);
    EXPECT_FALSE(StartrechtszeileAuswerten("x,04-001,04-001-0027,,04-007,04-007-0100", true).vollstaendig);
    EXPECT_FALSE(StartrechtszeileAuswerten("", false).vollstaendig);

    struct Row
    {
        const char* roh;
        const char* spoNr;
    };
    const Row rows[] = {{"1.58o", "1.58 O"}, {"1.58-O", "1.58 O"}, {"1.58 o", "1.58 O"}, {"1.58g", "1.58 G"},
                        {"1.58", "1.58"},    {"1.58 X", "1.58 X"}, {"1.5O", "1.5O"},     {"", ""}};
    for (const Row& row : rows)
        EXPECT_EQ(StartrechtszeileAuswerten(std::string("x,1,2,3,4,") + row.roh, false).spoNr, row.spoNr) << row.roh;

    // Membership numbers of association members: the two digits after "99" and one more name it.
    EXPECT_EQ(StartrechtszeileAuswerten("x,1,99004123,3,4,s", false).stammnummer, "0B-Y00-4123");
    EXPECT_EQ(StartrechtszeileAuswerten("x,1,990,3,4,s", false).stammnummer, "00-000-Ukn0");
    EXPECT_EQ(StartrechtszeileAuswerten("x,1,99,3,4,s", false).stammnummer, "");
}

namespace {

struct StartRightsSetup : StepSetup
{
    StartRightsSetup()
    {
        execute("INSERT INTO Vereinsliste (VNummer) VALUES ('04-001 '), ('04-007 '), ('04-009 ');"
                "INSERT INTO Schuetzendaten (M_Name) VALUES ('Müller '), ('Huber ');"
                "INSERT INTO Mitgliedschaft (Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr, Mgl_Stamm, Mgl_Pass) VALUES "
                "(1, 1, '04-001-0027 ', 1, 0), (2, 2, '04-009-0005 ', 1, 0), (1, 3, '04-001-0027 ', 1, 0)");
        definitions::Disziplin luftgewehr;
        luftgewehr.Name = "Luftgewehr";
        luftgewehr.SpoNr = "1.10";
        definitions::Disziplin kk;
        kk.Name = std::string(45, 'K');
        kk.SpoNr = "1.58 O";
        definitions::Disziplin lang;
        lang.Name = "Lang";
        lang.SpoNr = "1.10 Luftgewehr Freihand";
        definitions.disziplinen.eintraege = {luftgewehr, kk, lang};
        definitions.disziplinen.anzahl = 3;
    }

    std::int32_t import(std::initializer_list<std::string> lines)
    {
        write("B_Z_1.csv", lines);
        return StartberechtigungenUmsetzen(context, "B_Z_1.csv");
    }

    std::vector<std::string> memberships()
    {
        return rows("SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr, Mgl_Eintritt, Mgl_Stamm, Mgl_Pass, "
                    "Mgl_update FROM Mitgliedschaft ORDER BY Mgl_ID");
    }
};

} // namespace

TEST(StartberechtigungenUmsetzenTest, ResolvesBothMembershipsAndStoresTheStartRight)
{
    StartRightsSetup s;
    const std::string neueZweit = "1,04-001,04-001-0027,04-007,04-007-0100,1.10";
    // Only the membership in the second club exists, stored under the home club's number.
    const std::string neueStamm = "1,04-009,04-009-0005,04-007,04-009-0005,1.58o";
    EXPECT_EQ(s.import({neueZweit, neueZweit, neueStamm}), 0);
    EXPECT_EQ(s.display.texts, (std::vector<std::string>{"1 / 1", "2 / 2", "3 / 3"}));
    // Person 1 was marked at home in club 3 as well: the home club of the line takes the mark.
    EXPECT_EQ(s.memberships(), (std::vector<std::string>{
                                   "1|1|1|04-001-0027 |NULL|1|0|NULL",
                                   "2|2|2|04-009-0005 |NULL|0|0|NULL",
                                   "3|1|3|04-001-0027 |NULL|0|0|NULL",
                                   "4|1|2|04-007-0100|2024-03-07 09:05:30|0|1|1",
                                   "5|2|3|04-009-0005|2024-03-07 09:05:30|1|1|1",
                               }));
    EXPECT_EQ(s.rows("SELECT StB_ID, StB_Mgl_ID, StB_SpO_Nr, StB_SpO_Bez, StB_update FROM StartBerecht"),
              (std::vector<std::string>{"1|4|1.10 |Luftgewehr |NULL", "2|4|1.10 |Luftgewehr |NULL",
                                        "3|2|1.58 O |" + std::string(39, 'K') + " |NULL"}));
    EXPECT_EQ(s.logText(), "\r\nUmsetzen der Startberechtigungen\r\n"
                           "3 Zeilen eingelesen, 3 Startberechtigungen eingetragen\r\n"
                           "Vidazerierung der Startberechtigungen abgeschlossen\r\n\r\n");
}

TEST(StartberechtigungenUmsetzenTest, EveryLineThatCannotBePlacedHasOneReason)
{
    StartRightsSetup s;
    const std::vector<std::string> zeilen = {
        "1,04-001,04-001-0027,04-001,04-001-0027,1.10", // the same membership twice
        "1,04-005,04-005-0001,04-007,04-007-0100,1.10", // home club unknown
        "1,04-001,04-001-0027,04-008,04-008-0100,1.10", // second club unknown
        "1,04-001,04-001-0099,04-007,04-007-0099,1.10", // neither membership stored
        "1,04-001,04-001-0027,04-007,04-007-0100,1.10 A",
        "1,04-001,04-001-0027,04-007,04-007-0100,1.58 o",
        "1,04-001,04-001-0027,04-007,04-007-0100,1.58 O ",
        "1,04-001,,04-007,04-007-0100,1.10",
        "1,04-001,04-001-0027,04-007",
        "",
        "1,04-001,04-001-0027,04-007,04-007-0100,1.10 Luftgewehr Freihand",
    };
    s.write("B_Z_1.csv", {zeilen[0], zeilen[1], zeilen[2], zeilen[3], zeilen[4], zeilen[5], zeilen[6], zeilen[7],
                        zeilen[8], zeilen[9], zeilen[10]});
    EXPECT_EQ(StartberechtigungenUmsetzen(s.context, "B_Z_1.csv"), 9);
    const auto kopf = [&](int n) { return "Zeile  " + std::to_string(n) + "\t" + zeilen[n - 1] + "\r\n"; };
    EXPECT_EQ(s.logText(),
              "\r\nUmsetzen der Startberechtigungen\r\n" + kopf(1) +
                  "Vereinsnummern sind gleich! Dies ist nur bei Behindertenwahl möglich!!!\r\n\r\n" + kopf(2) +
                  "Stammverein nicht gefunden!\r\n\r\n" + kopf(3) + "Zweitverein nicht gefunden!\r\n\r\n" + kopf(4) +
                  "\t- Zweitmitgliedschaft nicht gefunden\r\n\r\n" + kopf(5) +
                  "\t- SpO-Nr 1.10 A nicht gefunden\r\n\r\n" + kopf(8) + "\t- Mitgliedsnummer fehlt\r\n\r\n" +
                  kopf(9) + "\t- Zeile unvollständig\r\n\r\n" + kopf(10) + "\t- Zeile unvollständig\r\n\r\n" +
                  kopf(11) + "\t- SpO-Nr 1.10 Luftgewehr Freihand ist zu lang\r\n\r\n" +
                  "11 Zeilen eingelesen, 2 Startberechtigungen eingetragen\r\n"
                  "Vidazerierung der Startberechtigungen abgeschlossen\r\n\r\n");
    // The membership in the second club was made by line 5 even though its discipline is unknown.
    EXPECT_EQ(s.rows("SELECT count(*) FROM Mitgliedschaft WHERE Mgl_Verein_ID = 2 AND Mgl_Schütze_ID = 1"),
              (std::vector<std::string>{"1"}));
}
