#include "import/StartberechtigungenUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

using namespace importer;
using Lines = std::vector<std::string>;

// The first line tells whether the file has the seventh column; the SpO-Nr is the rest of the
// line, its letter for the target written apart and in capitals.
TEST(StartberechtigungenUmsetzenTest, LayoutFromTheFirstLineAndCleanedValues)
{
    // A comma in the first character does not count.
    EXPECT_TRUE(SiebenSpalten("1,a,b,c,d,e,f") && SiebenSpalten(",a,b,c,d,e,f,g"));
    for (const char* anders : {",a,b,c,d,e,f", "1,a,b,c,d,e", "1,a,b,c,d,e,f,g", ""})
        EXPECT_FALSE(SiebenSpalten(anders)) << anders;

    // Membership numbers of association members: the two digits after "99" and one more name it.
    const std::string x = "x,1,99004123,3,4,", y = "|0B-Y00-4123|||";
    // clang-format off
    // clang-format off
    const std::tuple<std::string, bool, std::string> rows[] = {
        {"x,04-001,04-001-0027,egal,04-007,04-007-0100,1.10,mit Komma", true,
         "04-001|04-001-0027|04-007|04-007-0100|1.10,mit Komma"},
        {"x,04-001,04-001-0027,,04-007,04-007-0100", true, "-"}, {x + "s", false, y + "s"},
        {x + "1.58o", false, y + "1.58 O"}, {x + "1.58-O", false, y + "1.58 O"}, {x + "1.58 o", false, y + "1.58 O"},
        {x + "1.58g", false, y + "1.58 G"}, {x + "1.58", false, y + "1.58"}, {x + "1.58 X", false, y + "1.58 X"},
        {x + "1.5O", false, y + "1.5O"}, {x, false, y}};
    // clang-format on
    // clang-format on
    for (const auto& [zeile, sieben, erwartet] : rows) { // "-": the line is incomplete
        const Startrechtszeile z = StartrechtszeileAuswerten(zeile, sieben);
        const std::string werte = z.stammverein + "|" + z.stammnummer + "|" + z.zweitverein + "|" + z.zweitnummer;
        EXPECT_EQ(z.vollstaendig ? werte + "|" + z.spoNr : "-", erwartet) << zeile;
    }
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
        const auto d = [](std::string name, std::string spoNr) {
            return definitions::Disziplin{.Name = name, .SpoNr = spoNr, .BezSer = {}, .BezZwSu = {}};
        };
        definitions.disziplinen = {{d("Luftgewehr", "1.10"), d(textOfLength(39) + "b", "1.58 O"),
                                    d(textOfLength(39), "1.58 G"), d("Neunzehn", textOfLength(19)),
                                    d("Zwanzig", textOfLength(20))},
                                   5};
    }
};

const std::string kKopf = "\r\nUmsetzen der Startberechtigungen\r\n";
const std::string kSchluss = "Vidazerierung der Startberechtigungen abgeschlossen\r\n\r\n";

} // namespace

// A membership in the second club that is missing is made, the one in the home club too when
// only the second exists.
TEST(StartberechtigungenUmsetzenTest, ResolvesBothMembershipsAndStoresTheStartRight)
{
    StartRightsSetup s;
    const std::string neueZweit = "1,04-001,04-001-0027,04-007,04-007-0100,1.10";
    // Only the membership in the second club exists, stored under the home club's number.
    const std::string neueStamm = "1,04-009,04-009-0005,04-007,04-009-0005,1.10";
    EXPECT_EQ(s.import(StartberechtigungenUmsetzen, {neueZweit, neueZweit, neueStamm}), 0);
    // Person 1 was marked at home in club 3 as well: the home club of the line takes the mark.
    EXPECT_EQ(s.rows("SELECT * FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (Lines{"1|1|1|04-001-0027 |NULL|1|0|NULL", "2|2|2|04-009-0005 |NULL|0|0|NULL",
                     "3|1|3|04-001-0027 |NULL|0|0|NULL", "4|1|2|04-007-0100|2024-03-07 09:05:30|0|1|1",
                     "5|2|3|04-009-0005|2024-03-07 09:05:30|1|1|1"}));
    EXPECT_EQ(s.rows("SELECT * FROM StartBerecht"),
              (Lines{"1|4|1.10 |Luftgewehr |NULL", "2|4|1.10 |Luftgewehr |NULL", "3|2|1.10 |Luftgewehr |NULL"}));
    EXPECT_EQ(s.logText(), kKopf + "3 Zeilen eingelesen, 3 Startberechtigungen eingetragen\r\n" + kSchluss);
}

TEST(StartberechtigungenUmsetzenTest, EveryLineThatCannotBePlacedHasOneReason)
{
    StartRightsSetup s;
    const Lines zeilen = {
        "1,04-001,04-001-0027,04-001,04-001-0027,1.10", // the same membership twice
        "1,04-005,04-005-0001,04-007,04-007-0100,1.10", // home club unknown
        "1,04-001,04-001-0027,04-008,04-008-0100,1.10", // second club unknown
        "1,04-001,04-001-0099,04-007,04-007-0099,1.10", // neither membership stored
        "1,04-001,04-001-0027,04-007,04-007-0100,1.10 A",
        "1,04-001,04-001-0027,04-007,04-007-0100,1.58 o", "1,04-001,04-001-0027,04-007,04-007-0100,1.58 O ",
        "1,04-001,,04-007,04-007-0100,1.10", ""};
    writeExportFile(s.folder.file("B_Z_1.csv"), zeilen);
    EXPECT_EQ(StartberechtigungenUmsetzen(s.context, "B_Z_1.csv"), 7);
    const auto k = [&](int n) { return kopf(n, zeilen[n - 1]); };
    EXPECT_EQ(s.logText(), kKopf + k(1) + "Vereinsnummern sind gleich! Dies ist nur bei Behindertenwahl möglich!!!\r\n\r\n" +
                           k(2) + "Stammverein nicht gefunden!\r\n\r\n" +
                           k(3) + "Zweitverein nicht gefunden!\r\n\r\n" +
                           k(4) + "\t- Zweitmitgliedschaft nicht gefunden\r\n\r\n" +
                           k(5) + "\t- SpO-Nr 1.10 A nicht gefunden\r\n\r\n" +
                           k(8) + "\t- Mitgliedsnummer fehlt\r\n\r\n" +
                           k(9) + "\t- Zeile unvollständig\r\n\r\n"
                           "9 Zeilen eingelesen, 2 Startberechtigungen eingetragen\r\n" + kSchluss);
    // The membership in the second club was made by line 5 even though its discipline is unknown.
    EXPECT_EQ(s.rows("SELECT count(*) FROM Mitgliedschaft WHERE Mgl_Verein_ID = 2 AND Mgl_Schütze_ID = 1"),
              Lines{"1"});
}

// The SpO-Nr is stored with a blank in a field of 20 characters: 19 characters are stored, 20
// refused; a discipline's name is cut to 39. A line of the six-column layout needs five commas.
TEST(StartberechtigungenUmsetzenTest, EveryLimitAtItsBoundary)
{
    StartRightsSetup s;
    const std::string zeile = "1,04-001,04-001-0027,04-007,04-007-0100";
    const std::string zuLang = zeile + "," + textOfLength(20);
    EXPECT_EQ(s.import(StartberechtigungenUmsetzen,
                       {zeile + "," + textOfLength(19), zuLang, zeile + ",1.58g", zeile + ",1.58o", zeile}),
              2);
    EXPECT_EQ(s.rows("SELECT StB_SpO_Nr, StB_SpO_Bez FROM StartBerecht"),
              (Lines{textOfLength(19) + " |Neunzehn ", "1.58 G |" + textOfLength(39) + " ",
                     "1.58 O |" + textOfLength(39) + " "}));
    EXPECT_EQ(s.logText(), kKopf + kopf(2, zuLang) + "\t- SpO-Nr " + textOfLength(20) + " ist zu lang\r\n\r\n" +
                               kopf(5, zeile) + "\t- Zeile unvollständig\r\n\r\n" +
                               "5 Zeilen eingelesen, 3 Startberechtigungen eingetragen\r\n" + kSchluss);
}
