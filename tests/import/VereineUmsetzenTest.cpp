#include "import/VereineUmsetzen.h"
#include "support/StepSetup.h"

#include <gtest/gtest.h>

#include <vector>

using namespace importer;

namespace {

// A clubs-file line with the columns that matter; the others empty.
std::string vereinszeile(const std::string& nummer, const std::string& name, const std::string& abk,
                         const std::string& funktion, const std::string& name1, const std::string& name2,
                         const std::string& ort, const std::string& telefon = "", const std::string& vereinsort = "")
{
    return "1," + nummer + "," + name + "," + abk + "," + funktion + "," + name1 + "," + name2 +
           ",Schützenweg,3,86150," + ort + "," + telefon + ",,,,info@example.org,www.verein.example,," + vereinsort;
}

// Every stored club as "VNummer|Vereinsname|VereinsAbk|Vorsitzender|GName|GStraße|GPlz|GOrt|GTel|Ort".
std::vector<std::string> vereine(StepSetup& u)
{
    return u.rows("SELECT VNummer, Vereinsname, VereinsAbk, Vorsitzender, GName, GStraße, GPlz, GOrt, GTel, Ort "
                  "FROM Vereinsliste ORDER BY VereinsID");
}

} // namespace

TEST(VereineUmsetzenTest, LineValuesFollowTheClubRules)
{
    const Vereinswerte verband = VereinszeileAuswerten("1,99000004,Landesverband,LV,,,,,,,,,,,,,,,");
    EXPECT_EQ(verband.nummer, "BY-004");
    EXPECT_EQ(verband.abkuerzung, "BY");
    EXPECT_EQ(verband.ort, "BY");
    EXPECT_EQ(verband.vereinsort, "BY");

    const Vereinswerte vorsitz =
        VereinszeileAuswerten(vereinszeile("04-001", "SG  Tell", "SGT", "1. Vorsitzender", "Maier", "Hans", "Augsburg"));
    EXPECT_EQ(vorsitz.nummer, "04-001");
    EXPECT_EQ(vorsitz.name, "SG Tell");
    EXPECT_EQ(vorsitz.vorsitzender, "Hans Maier");
    EXPECT_EQ(vorsitz.kontaktName, "Hans Maier");
    EXPECT_EQ(vorsitz.strasse, "Schützenweg 3");
    EXPECT_EQ(vorsitz.vereinsort, "Augsburg");

    const Vereinswerte kassier =
        VereinszeileAuswerten(vereinszeile("04-001", "SG Tell", "SGT", "Kassierer", "Maier", "Hans", "Augsburg",
                                           "0821 / 123-45", "Stadtbergen"));
    EXPECT_EQ(kassier.vorsitzender, "");
    EXPECT_EQ(kassier.kontaktName, "Hans Maier");
    EXPECT_EQ(kassier.telefon, "0821 12345");
    EXPECT_EQ(kassier.vereinsort, "Stadtbergen");
    EXPECT_EQ(kassier.ort, "Augsburg");

    const std::string achtzig(80, 'x');
    EXPECT_EQ(VereinszeileAuswerten("1,04-001," + achtzig).name, std::string(71, 'x'));

    // "vorsitzend" in other case does not make a chairman; a name part missing in the person
    // name is appended for the chairman.
    EXPECT_EQ(VereinszeileAuswerten("1,04-001,V,A,stv. vorsitzender,Maier,Hans").vorsitzender, "");
    EXPECT_EQ(VereinszeileAuswerten("1,04-001,V,A,Vorsitzende,Ölß,").vorsitzender, "Ölß");
}

TEST(VereineUmsetzenTest, StoresClubsAndLogsEveryProblemLine)
{
    StepSetup u;
    writeExportFile(u.folder.file("Bezirk_V_2026.csv"),
                    {
                        vereinszeile("04-001", "Schützengesellschaft Tell", "SG Tell", "1. Vorsitzender", "Maier",
                                     "Hans", "Augsburg", "0821 / 123-45"),
                        vereinszeile("04-002", "", "", "Kassierer", "Huber", "Eva", "Friedberg"),
                        vereinszeile("", "Ohne Nummer", "ON", "", "", "", "Neusäß"),
                        vereinszeile("04-001", "Zweite Eintragung", "ZE", "", "", "", "Gersthofen"),
                        "1,99000004,Landesverband Bayern,LV",
                        "1,04-003,Kurzzeile,KZ",
                        "1,08-6  ,SV Linde,SVL,,,, Lindenweg 7 ,,86150,Ort", // blanks at the edges, no house number
                    });

    EXPECT_EQ(VereineUmsetzen(u.context, "Bezirk_V_2026.csv"), 4);

    const std::string z2 = vereinszeile("04-002", "", "", "Kassierer", "Huber", "Eva", "Friedberg");
    const std::string z3 = vereinszeile("", "Ohne Nummer", "ON", "", "", "", "Neusäß");
    const std::string z4 = vereinszeile("04-001", "Zweite Eintragung", "ZE", "", "", "", "Gersthofen");
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n"
                           "Zeile  2\t" + z2 + "\r\n"
                           " - Vereinsname lang fehlt - Vereinsabkürzung fehlt\r\n"
                           "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n"
                           "Zeile  3\t" + z3 + "\r\n"
                           " - Vereinsnummer fehlt\r\n"
                           "Zeile  4\t" + z4 + "\r\n"
                           " - Vereinsnummer 04-001 bereits eingetragen!\r\n"
                           "Zeile  6\t1,04-003,Kurzzeile,KZ\r\n"
                           " - Vereinsort fehlt\r\n"
                           "\t - Mindestangaben fehlen, Daten können nicht gespeichert werden\r\n"
                           "7 Zeilen eingelesen, 5 Vereine angelegt\r\n"
                           "Vereinsvidazerierung abgeschlossen\r\n"
                           "\r\n");

    EXPECT_EQ(vereine(u), (std::vector<std::string>{
                               "04-001 |Schützengesellschaft Tell |SG Tell |Hans Maier |Hans Maier |Schützenweg 3 |"
                               "86150 |Augsburg |0821 12345 |Augsburg ",
                               " |Ohne Nummer |ON | | |Schützenweg 3 |86150 |Neusäß | |Neusäß ",
                               "04-001 |Zweite Eintragung |ZE | | |Schützenweg 3 |86150 |Gersthofen | |Gersthofen ",
                               "BY-004 |Landesverband Bayern |BY | | | | |BY | |BY ",
                               "08-6 |SV Linde |SVL | | |Lindenweg 7 |86150 |Ort | |Ort ",
                           }));
    EXPECT_EQ(u.display.texts,
              (std::vector<std::string>{"1 / 1", "2 / 1", "3 / 2", "4 / 3", "5 / 4", "6 / 4", "7 / 5"}));
}

TEST(VereineUmsetzenTest, EmptyFileMissingFileAndAbort)
{
    {
        StepSetup u;
        writeExportFile(u.folder.file("leer_V_.csv"), {});
        EXPECT_EQ(VereineUmsetzen(u.context, "leer_V_.csv"), 0);
        EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n0 Zeilen eingelesen, 0 Vereine angelegt\r\n"
                               "Vereinsvidazerierung abgeschlossen\r\n\r\n");
    }
    {
        StepSetup u;
        EXPECT_EQ(VereineUmsetzen(u.context, "weg_V_.csv"), 0);
        ASSERT_EQ(u.questions.asked.size(), 1u);
        EXPECT_EQ(u.questions.asked[0].title, "Fehler");
        EXPECT_EQ(u.questions.asked[0].text, "Datei " + u.folder.file("weg_V_.csv") + " nicht gefunden!");
        EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n");
    }
    {
        // Abbruch pressed while line 2 is shown: the step stops before line 3 and still writes
        // its count and closing records.
        StepSetup u;
        writeExportFile(u.folder.file("x_V_.csv"), {vereinszeile("04-001", "A", "A", "", "", "", "Ort"),
                                                    vereinszeile("04-002", "B", "B", "", "", "", "Ort"),
                                                    vereinszeile("04-003", "C", "C", "", "", "", "Ort")});
        u.display.onEvents = [&] { u.abort = u.display.texts.size() == 2; };
        EXPECT_EQ(VereineUmsetzen(u.context, "x_V_.csv"), 0);
        EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n2 Zeilen eingelesen, 2 Vereine angelegt\r\n"
                               "Vereinsvidazerierung abgeschlossen\r\n\r\n");
        EXPECT_EQ(vereine(u).size(), 2u);
    }
}

TEST(VereineUmsetzenTest, AClubThatCannotBeStoredIsAProblemAndNotCounted)
{
    StepSetup u;
    {
        clubdb::Connection db = clubdb::Connection::open(u.database);
        db.execute("CREATE TRIGGER Sperre BEFORE INSERT ON Vereinsliste WHEN substr(NEW.Vereinsname, 1, 4) = 'Fehl' "
                   "BEGIN SELECT RAISE(ABORT, 'Testfehler'); END");
    }
    const std::string fehl = vereinszeile("04-002", "Fehlschlag", "F", "", "", "", "Ort");
    writeExportFile(u.folder.file("x_V_.csv"), {vereinszeile("04-001", "Gut", "G", "", "", "", "Ort"), fehl});

    EXPECT_EQ(VereineUmsetzen(u.context, "x_V_.csv"), 1);
    EXPECT_EQ(u.logText(), "Umsetzen der Vereinsdaten\r\n"
                           "Zeile  2\t" + fehl + "\r\n"
                           " - Verein konnte nicht gespeichert werden: Testfehler\r\n"
                           "2 Zeilen eingelesen, 1 Vereine angelegt\r\n"
                           "Vereinsvidazerierung abgeschlossen\r\n\r\n");
    EXPECT_EQ(vereine(u).size(), 1u);

    // Without its table the club database stores nothing, and every line says why.
    StepSetup ohne;
    clubdb::Connection::open(ohne.database).execute("DROP TABLE Vereinsliste");
    writeExportFile(ohne.folder.file("x_V_.csv"), {vereinszeile("04-001", "Gut", "G", "", "", "", "Ort")});
    EXPECT_EQ(VereineUmsetzen(ohne.context, "x_V_.csv"), 1);
    EXPECT_NE(ohne.logText().find(" - Verein konnte nicht gespeichert werden: no such table: Vereinsliste\r\n"),
              std::string::npos);
}
