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

const std::string kSchluss = "Vereinsvidazerierung abgeschlossen\r\n\r\n";

} // namespace

// A chairman is named so only when the function holds "Vorsitzend"; an association takes its
// abbreviation as short name and town; the club's town defaults to the office's town. A club that
// cannot be stored is a problem of its line and not counted.
TEST(VereineUmsetzenTest, StoresClubsAndLogsEveryProblemLine)
{
    StepSetup u;
    u.execute("CREATE TRIGGER Sperre BEFORE INSERT ON Vereinsliste WHEN NEW.Vereinsname = 'Fehlschlag ' "
              "BEGIN SELECT RAISE(ABORT, 'Testfehler'); END");
    const std::string z2 = vereinszeile("04-002", "", "", "Kassierer", "Huber", "Eva", "Friedberg");
    const std::string z3 = vereinszeile("", "Ohne Nummer", "ON", "stv. vorsitzender", "Maier", "Hans", "Neusäß");
    const std::string z4 = vereinszeile("04-001", "Zweite Eintragung", "ZE", "", "", "", "Gersthofen");
    const std::string z8 = vereinszeile("04-002", "Fehlschlag", "F", "", "", "", "Ort");
    EXPECT_EQ(
        u.import(VereineUmsetzen, {vereinszeile("04-001", "Schützengesellschaft  Tell", "SG Tell", "1. Vorsitzender",
                                                "Maier", "Hans", "Augsburg", "0821 / 123-45", "Stadtbergen"),
                                   z2, z3, z4, "1,99000004,Landesverband Bayern,LV", "1,04-003,Kurzzeile,KZ",
                                   // blanks at the edges, a street without house number
                                   "1,08-6  ,SV Linde,SVL,,,, Lindenweg 7 ,,86150,Ort", z8}),
        5);
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n" + kopf(2, z2) +
                               " - Vereinsname lang fehlt - Vereinsabkürzung fehlt\r\n"
                               "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n" +
                               kopf(3, z3) + " - Vereinsnummer fehlt\r\n" + kopf(4, z4) +
                               " - Vereinsnummer 04-001 bereits eingetragen!\r\n" + kopf(6, "1,04-003,Kurzzeile,KZ") +
                               " - Vereinsort fehlt\r\n"
                               "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n" +
                               kopf(8, z8) +
                               " - Verein konnte nicht gespeichert werden: Testfehler\r\n"
                               "8 Zeilen eingelesen, 5 Vereine angelegt\r\n" +
                               kSchluss);
    const std::string adresse = "|Schützenweg 3 |86150 |";
    const std::string netz = "info@example.org |www.verein.example | |1";
    EXPECT_EQ(u.rows("SELECT VNummer, Vereinsname, VereinsAbk, Vorsitzender, GName, GStraße, GPlz, GOrt, GTel, Ort, "
                     "GeMail, GHomePage, AName, V_update FROM Vereinsliste ORDER BY VereinsID"),
              (Lines{"04-001 |Schützengesellschaft Tell |SG Tell |Hans Maier |Hans Maier " + adresse +
                         "Augsburg |0821 12345 |Stadtbergen |" + netz,
                     " |Ohne Nummer |ON | |Hans Maier " + adresse + "Neusäß | |Neusäß |" + netz,
                     "04-001 |Zweite Eintragung |ZE | | " + adresse + "Gersthofen | |Gersthofen |" + netz,
                     "BY-004 |Landesverband Bayern |BY | | | | |BY | |BY | | | |1",
                     "08-6 |SV Linde |SVL | | |Lindenweg 7 |86150 |Ort | |Ort | | | |1"}));
}

// Each text is cut to one character less than its field, which leaves room for the blank that
// every stored text gets: the value at the limit stays, one character more is cut off.
TEST(VereineUmsetzenTest, EveryTextIsCutAtItsLimit)
{
    using V = Vereinswerte;
    // column, value, its limit, the function of the contact person ("Vorsitzender": the chairman)
    // clang-format off
    const std::tuple<std::size_t, std::string V::*, std::size_t, const char*> grenzen[] = {
        {3, &V::name, 71, ""}, {4, &V::abkuerzung, 25, ""}, {7, &V::kontaktName, 41, ""},
        {7, &V::vorsitzender, 41, "Vorsitzender"}, {8, &V::strasse, 41, ""}, {10, &V::plz, 11, ""}, {11, &V::ort, 41, ""},
        {19, &V::vereinsort, 41, ""}, {12, &V::telefon, 41, ""}, {16, &V::eMail, 61, ""}, {17, &V::homepage, 61, ""}};
    // clang-format on
    for (const auto& [spalte, wert, zeichen, funktion] : grenzen) {
        const std::string amRand = spalte == 12 ? std::string(zeichen, '7') : textOfLength(zeichen); // phone: digits
        for (const std::string& feld : {amRand, amRand + amRand.substr(0, 1)})
            EXPECT_EQ(VereinszeileAuswerten(exportLine(19, {{5, funktion}, {spalte, feld}})).*wert, amRand) << feld;
    }
}
