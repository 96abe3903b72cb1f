#include "import/VereineUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

#include <vector>

using namespace importer;
using Lines = std::vector<std::string>;

namespace {

// A clubs-file line with the columns that matter; the others empty.
std::string vereinszeile(const std::string& nummer, const std::string& name, const std::string& abk,
                         const std::string& funktion, const std::string& name1, const std::string& name2,
                         const std::string& ort, const std::string& telefon = "", const std::string& vereinsort = "")
{
    return "1," + nummer + "," + name + "," + abk + "," + funktion + "," + name1 + "," + name2 +
           ",Schützenweg,3,86150," + ort + "," + telefon + ",,,,info@example.org,www.verein.example,," + vereinsort;
}

// A club line for the tests of the step: number, name and town.
std::string verein(const std::string& nummer, const std::string& name)
{
    return vereinszeile(nummer, name, name, "", "", "", "Ort");
}

const std::string kSchluss = "Vereinsvidazerierung abgeschlossen\r\n\r\n";

} // namespace

// A chairman is named so only when the function holds "Vorsitzend"; an association takes its
// abbreviation as short name and town; the club's town defaults to the office's town.
TEST(VereineUmsetzenTest, StoresClubsAndLogsEveryProblemLine)
{
    StepSetup u;
    const std::string z2 = vereinszeile("04-002", "", "", "Kassierer", "Huber", "Eva", "Friedberg");
    const std::string z3 = vereinszeile("", "Ohne Nummer", "ON", "stv. vorsitzender", "Maier", "Hans", "Neusäß");
    const std::string z4 = vereinszeile("04-001", "Zweite Eintragung", "ZE", "", "", "", "Gersthofen");
    EXPECT_EQ(u.import(VereineUmsetzen,
                       {vereinszeile("04-001", "Schützengesellschaft  Tell", "SG Tell", "1. Vorsitzender", "Maier",
                                     "Hans", "Augsburg", "0821 / 123-45", "Stadtbergen"),
                        z2, z3, z4, "1,99000004,Landesverband Bayern,LV", "1,04-003,Kurzzeile,KZ",
                        vereinszeile("04-005", std::string(80, 'x'), "X", "Vorsitzende", "Ölß", "", "Ort"),
                        // blanks at the edges, a street without house number
                        "1,08-6  ,SV Linde,SVL,,,, Lindenweg 7 ,,86150,Ort"}),
              4);
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n" + kopf(2, z2) +
                           " - Vereinsname lang fehlt - Vereinsabkürzung fehlt\r\n"
                           "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n" + kopf(3, z3) +
                           " - Vereinsnummer fehlt\r\n" + kopf(4, z4) +
                           " - Vereinsnummer 04-001 bereits eingetragen!\r\n" + kopf(6, "1,04-003,Kurzzeile,KZ") +
                           " - Vereinsort fehlt\r\n"
                           "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n"
                           "8 Zeilen eingelesen, 6 Vereine angelegt\r\n" + kSchluss);
    const std::string adresse = "|Schützenweg 3 |86150 |";
    const std::string netz = "info@example.org |www.verein.example | |1";
    EXPECT_EQ(u.rows("SELECT VNummer, Vereinsname, VereinsAbk, Vorsitzender, GName, GStraße, GPlz, GOrt, GTel, Ort, "
                     "GeMail, GHomePage, AName, V_update FROM Vereinsliste ORDER BY VereinsID"),
              (Lines{"04-001 |Schützengesellschaft Tell |SG Tell |Hans Maier |Hans Maier " + adresse +
                         "Augsburg |0821 12345 |Stadtbergen |" + netz,
                     " |Ohne Nummer |ON | |Hans Maier " + adresse + "Neusäß | |Neusäß |" + netz,
                     "04-001 |Zweite Eintragung |ZE | | " + adresse + "Gersthofen | |Gersthofen |" + netz,
                     "BY-004 |Landesverband Bayern |BY | | | | |BY | |BY | | | |1",
                     "04-005 |" + std::string(71, 'x') + " |X |Ölß |Ölß " + adresse + "Ort | |Ort |" + netz,
                     "08-6 |SV Linde |SVL | | |Lindenweg 7 |86150 |Ort | |Ort | | | |1"}));
    EXPECT_EQ(u.display.texts, (Lines{"1 / 1", "2 / 1", "3 / 2", "4 / 3", "5 / 4", "6 / 4", "7 / 5", "8 / 6"}));
}

TEST(VereineUmsetzenTest, MissingFileAndAbort)
{
    StepSetup fehlt;
    EXPECT_EQ(VereineUmsetzen(fehlt.context, "weg_V_.csv"), 0);
    ASSERT_EQ(fehlt.questions.asked.size(), 1u);
    EXPECT_EQ(fehlt.questions.asked[0].title, "Fehler");
    EXPECT_EQ(fehlt.questions.asked[0].text, "Datei " + fehlt.folder.file("weg_V_.csv") + " nicht gefunden!");
    EXPECT_EQ(fehlt.logText(), "Umsetzen der Vereinsdaten\r\n");

    // Abbruch pressed while line 2 is shown: the step stops before line 3 and still writes its
    // count and closing records.
    StepSetup u;
    u.display.onEvents = [&] { u.abort = u.display.texts.size() == 2; };
    EXPECT_EQ(u.import(VereineUmsetzen, {verein("04-001", "A"), verein("04-002", "B"), verein("04-003", "C")}), 0);
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n2 Zeilen eingelesen, 2 Vereine angelegt\r\n" + kSchluss);
    EXPECT_EQ(u.rows("SELECT count(*) FROM Vereinsliste"), Lines{"2"});
}

// A club that cannot be stored is a problem of its line and not counted.
TEST(VereineUmsetzenTest, AClubThatCannotBeStoredIsAProblemAndNotCounted)
{
    StepSetup u;
    u.execute("CREATE TRIGGER Sperre BEFORE INSERT ON Vereinsliste WHEN NEW.Vereinsname = 'Fehlschlag ' "
              "BEGIN SELECT RAISE(ABORT, 'Testfehler'); END");
    EXPECT_EQ(u.import(VereineUmsetzen, {verein("04-001", "Gut"), verein("04-002", "Fehlschlag")}), 1);
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n" + kopf(2, verein("04-002", "Fehlschlag")) +
                           " - Verein konnte nicht gespeichert werden: Testfehler\r\n"
                           "2 Zeilen eingelesen, 1 Vereine angelegt\r\n" + kSchluss);
    EXPECT_EQ(u.rows("SELECT count(*) FROM Vereinsliste"), Lines{"1"});
}
