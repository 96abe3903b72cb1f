#include "import/MitgliederUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

using namespace importer;
using Lines = std::vector<std::string>;

namespace {

struct Person
{
    std::string verein = "04-001";
    std::string nummer = "04-001-0027";
    std::string name = "Müller";
    std::string vorname = "Hans";
    std::string geburt = "24.12.1961";
    std::string plz = "86150";
    std::string eintritt = "01.03.1990";

    std::string zeile() const
    {
        return "1," + verein + "," + nummer + "," + eintritt + ",,," + name + "," + vorname + "," + geburt +
               ",M,,,,,,Hauptstr.,12," + plz + ",Augsburg,0821 / 123-45";
    }
};

struct MembersSetup : StepSetup
{
    MembersSetup()
    {
        // 04-002 first: it begins like the home club's number, so only the whole six characters
        // of a membership number find the home club 04-001.
        execute("INSERT INTO Vereinsliste (VNummer, Vereinsname) VALUES ('04-002 ', 'SV Eiche '), "
                "('04-001 ', 'SG Tell '), ('04-007 ', 'SV Hubertus ')");
    }
};

const std::string kKopf = "\r\nUmsetzen der Mitgliederdaten\r\n";
const std::string kSchluss = "Mitgliedervidazerierung abgeschlossen\r\n\r\n";
const std::string kHans = "Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t";

} // namespace

// The membership in the home club is the one whose number begins with the club's number; a
// second membership needs a home membership too, made with today's date when the home club's
// own line has not come yet; that line then only brings its entry date.
TEST(MitgliederUmsetzenTest, StoresPersonAndHomeAndSecondMembershipsInEitherOrder)
{
    const Person heim;
    const Person zweit{.verein = "04-007", .eintritt = "01.01.2000"};
    MembersSetup s;
    EXPECT_EQ(s.import(MitgliederUmsetzen, {heim.zeile(), zweit.zeile()}), 0);
    EXPECT_EQ(s.rows("SELECT * FROM Schuetzendaten"),
              (Lines{"1| |Hans |Müller |1961-12-24 00:00:00|0|Hauptstr. 12 |86150 |Augsburg |"
                     "0821 12345 | |0 | | | |1"}));
    EXPECT_EQ(s.rows("SELECT * FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (Lines{"1|1|2|04-001-0027 |1990-03-01 00:00:00|1|0|1", "2|1|3|04-001-0027 |2000-01-01 00:00:00|0|0|1"}));
    EXPECT_EQ(s.logText(), kKopf + "2 Zeilen eingelesen, 2 Schützen angelegt\r\n" + kSchluss);

    MembersSetup umgekehrt;
    EXPECT_EQ(umgekehrt.import(MitgliederUmsetzen, {zweit.zeile(), heim.zeile()}), 0);
    EXPECT_EQ(umgekehrt.rows("SELECT * FROM Mitgliedschaft ORDER BY Mgl_ID"),
              (Lines{"1|1|3|04-001-0027 |2000-01-01 00:00:00|0|0|1", "2|1|2|04-001-0027 |1990-03-01 00:00:00|1|0|1"}));
    // The same file again adds nothing and reports nothing.
    EXPECT_EQ(umgekehrt.import(MitgliederUmsetzen, {zweit.zeile(), heim.zeile()}), 0);
    EXPECT_EQ(umgekehrt.rows("SELECT (SELECT count(*) FROM Schuetzendaten), count(*) FROM Mitgliedschaft"),
              Lines{"1|2"});
}

// All seven properties equal under another number: a definite duplicate; six of seven: a
// possible one. Only the person search decides whether a new person is stored.
TEST(MitgliederUmsetzenTest, ReportsDefiniteAndPossibleDuplicates)
{
    const Person hans;
    const Person andereNummer{.nummer = "04-001-0099"};
    const Person plz{.plz = "86152"};
    const Person geburt{.nummer = "04-001-0100", .geburt = "25.12.1961"};
    MembersSetup s;
    EXPECT_EQ(s.import(MitgliederUmsetzen, {hans.zeile(), andereNummer.zeile(), plz.zeile(), geburt.zeile()}), 3);
    EXPECT_EQ(s.logText(), kKopf + kopf(2, andereNummer.zeile()) +
                           "*********************************************************\r\n"
                           "*\t-------> Doppelter Eintrag! Bitte Prüfen!\t*\r\n"
                           "*********************************************************\r\n"
                           "\t* " + kHans + "04-001-0099\r\n"
                           "\t- " + kHans + "04-001-0027\r\n\r\n" + kopf(3, plz.zeile()) +
                           "\t-------> Eventuell doppelter Eintrag! Bitte Prüfen!\r\n"
                           "\t* Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86152 Augsburg\t04-001-0027\r\n"
                           "\t- " + kHans + "04-001-0027\r\n\r\n" + kopf(4, geburt.zeile()) +
                           "\t-------> Eventuell doppelter Eintrag! Bitte Prüfen!\r\n"
                           "\t* Müller, Hans\t25.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t04-001-0100\r\n"
                           "\t- " + kHans + "04-001-0027\r\n\r\n"
                           "4 Zeilen eingelesen, 2 Schützen angelegt\r\n" + kSchluss);
    EXPECT_EQ(s.rows("SELECT M_ID, M_GebDat FROM Schuetzendaten"),
              (Lines{"1|1961-12-24 00:00:00", "2|1961-12-25 00:00:00"}));
    EXPECT_EQ(s.rows("SELECT Mgl_Schütze_ID, Mgl_MglNr FROM Mitgliedschaft"),
              (Lines{"1|04-001-0027 ", "2|04-001-0100 "}));
}

TEST(MitgliederUmsetzenTest, LinesWithoutAClubOrHomeClubAreReported)
{
    MembersSetup s;
    s.execute("INSERT INTO Vereinsliste (VNummer) VALUES ('104-009 '), ('04-009 ')");
    const Person fremd{.verein = "05-001"};
    const Person ohneNummer{.verein = ""};
    const Person ohneStammverein{.nummer = "04-099-0001"};
    // "04-009" is found inside "104-009", the first club stored.
    const Person enthalten{.verein = "04-009", .nummer = "04-009-0001", .name = "Anders", .geburt = "02.02.1980"};
    EXPECT_EQ(s.import(MitgliederUmsetzen,
                       {fremd.zeile(), ohneNummer.zeile(), ohneStammverein.zeile(), enthalten.zeile(), ""}),
              4);
    EXPECT_EQ(s.logText(), kKopf + kopf(1, fremd.zeile()) +
                           "\t- Die Vereinsnummer 05-001 konnte in der Vereinsdatenbank nicht gefunden werden!\r\n\r\n" +
                           kopf(2, ohneNummer.zeile()) +
                           "\t- Vereinsnummer fehlt, die Zeile wird nicht gespeichert!\r\n\r\n" +
                           kopf(3, ohneStammverein.zeile()) +
                           "\t- Der Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden!\r\n\r\n" +
                           kopf(5, "") + "\t- Vereinsnummer fehlt, die Zeile wird nicht gespeichert!\r\n\r\n"
                           "5 Zeilen eingelesen, 2 Schützen angelegt\r\n" + kSchluss);
    EXPECT_EQ(s.rows("SELECT Mgl_Verein_ID, Mgl_MglNr, Mgl_Stamm FROM Mitgliedschaft"),
              (Lines{"2|04-099-0001 |0", "4|04-009-0001 |1"}));
}
