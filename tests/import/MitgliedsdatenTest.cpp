#include "import/Mitgliedsdaten.h"
#include "support/ExportFiles.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace importer;

namespace {

definitions::Definitionen klassen()
{
    definitions::Definitionen d;
    const definitions::Altersklasse herren{"Herrenklasse", "10", 21, 45, false, 0};
    const definitions::Altersklasse senioren{"Seniorenklasse", "12", 46, 99, false, -1};
    const definitions::Altersklasse damen{"Damenklasse", "20", 21, 45, true, 0};
    // With class numbers of the longest Hochmeldung and of one character more; no age leads to them.
    d.klassen = {{herren, senioren, damen, {"Lang", textOfLength(21)}, {"Länger", textOfLength(21) + "b"}}, 5};
    d.maenner = {{herren, senioren}, 2};
    d.frauen = {{damen}, 1};
    return d;
}

std::string zeile(const std::string& name, const std::string& vorname, const std::string& geburt = "24.12.1961",
                  const std::string& sex = "M", const std::string& hoch = "")
{
    return "1,04-001,04-001-0027,01.03.1990,a,b," + name + "," + vorname + "," + geburt + "," + sex + "," + hoch +
           ",c,d,e,f,Hauptstr.,12,86150,Augsburg,0821 / 123-45";
}

// Every value of a member line, joined by "|".
std::string felder(const std::string& zeile)
{
    const Mitgliedszeile z = MitgliedszeileAuswerten(zeile, klassen(), 2024);
    const Mitgliedsdaten& d = z.daten;
    return z.vereinsnummer + "|" + d.mitgliedsnummer + "|" + d.eintritt.toGerman() + "|" + d.titel + "|" + d.nachname +
           "|" + d.vorname + "|" + d.geburtsdatum.toGerman() + "|" + (d.weiblich ? "w" : "m") + "|" + d.hochmeldung +
           "|" + d.strasse + "|" + d.plz + "|" + d.ort + "|" + d.telefon + "|" + d.mail + "|" + z.gruende;
}

} // namespace

// A short line leaves the columns it lacks empty.
TEST(MitgliedsdatenTest, TheExampleLineGivesTheMemberRecord)
{
    EXPECT_EQ(felder(zeile("Dr. Müller", "Hans")), "04-001|04-001-0027|01.03.1990|Dr.|Müller|Hans|24.12.1961|m|0|"
                                                   "Hauptstr. 12|86150|Augsburg|0821 12345| |");
    // An association member's "99", one digit and the association's code: the abbreviation takes the
    // place of the "99".
    EXPECT_EQ(felder("1,04-001,99004123"), "04-001|0B-Y00-4123|01.01.2000| |||01.01.2000|m|0||||| |");
    // The first name's title wins; each shortened name gives its own reason.
    EXPECT_EQ(felder(zeile("Dr. Abcdefghijklmnopqrst Uvw", "Prof. Müller-Lüdenscheidt-Schmidt")),
              "04-001|04-001-0027|01.03.1990|Prof.|Abcdefghijklmnopqrst|Müller-Lüdenscheidt|24.12.1961|m|0|"
              "Hauptstr. 12|86150|Augsburg|0821 12345| |\t- Nachname zu lang -> gekürzt\r\n"
              "\t- Vorname zu lang -> gekürzt\r\n");
}

// Each text is cut to one character less than its field, which leaves room for the blank that
// every stored text gets: the value at the limit stays, one character more is cut off. A name is
// the only value that reports its cut; the title, up to the last ". ", is cut without a word.
TEST(MitgliedsdatenTest, EveryTextIsCutAtItsLimit)
{
    using M = Mitgliedsdaten;
    const std::string nachname = "\t- Nachname zu lang -> gekürzt\r\n", vorname = "\t- Vorname zu lang -> gekürzt\r\n";
    // column, value, the value at the limit, one character more, the reason of a cut, the rest of the column
    // clang-format off
    const std::tuple<std::size_t, std::string M::*, std::string, const char*, std::string, const char*> grenzen[] = {
        {7, &M::titel, "Dr. Dipl.-Kfm. Prüf.", ".", "", " Meier"}, {7, &M::nachname, textOfLength(20), "b", nachname, ""},
        {8, &M::vorname, textOfLength(20), "b", vorname, ""}, {11, &M::hochmeldung, textOfLength(21), "b", "", ""},
        {16, &M::strasse, textOfLength(41), "b", "", ""}, {18, &M::plz, textOfLength(11), "b", "", ""},
        {19, &M::ort, textOfLength(41), "b", "", ""}, {20, &M::telefon, std::string(61, '7'), "7", "", ""}};
    // clang-format on
    for (const auto& [spalte, wert, amRand, mehr, grund, danach] : grenzen) {
        for (const std::string& feld : {amRand, amRand + mehr}) {
            const Mitgliedszeile z =
                MitgliedszeileAuswerten(exportLine(20, {{spalte, feld + danach}}), klassen(), 2024);
            EXPECT_EQ(std::pair(z.daten.*wert, z.gruende), std::pair(amRand, feld == amRand ? "" : grund)) << feld;
        }
    }
}

// A title stands before the name, up to its last ". "; a name longer than 20 characters loses
// its last part at a blank or hyphen that keeps five characters, else it is cut at 20.
TEST(MitgliedsdatenTest, NameRulesSplitTitlesAndShortenLongNames)
{
    // clang-format off
    const std::tuple<const char*, const char*, const char*, bool> rows[] = {
        {"Dr. med. Müller", "Müller", "Dr. med.", false}, {"Prof. Dr.-Ing. Schmidt", "Schmidt", "Prof. Dr.-Ing.", false},
        {"St. Peter", "St Peter", "", false}, {"Dr.Meier", "DrMeier", "", false},
        {"Schütz - Meier", "Schütz-Meier", "", false}, {"", "", "", false},
        // the blank or hyphen at position 22, 21, 20, 6 and 5
        {"Abcdefghijklmnopqrsüv Wx", "Abcdefghijklmnopqrsü", "", true},
        {"Abcdefghijklmnopqrsü Uvw", "Abcdefghijklmnopqrsü", "", true},
        {"Müller-Lüdenscheidt-Schmidt", "Müller-Lüdenscheidt", "", true},
        {"Abcdü Fghijklmnopqrstuvwxyz", "Abcdü", "", true}, {"Abcü Efghijklmnopqrstuvwxyz", "Abcü Efghijklmnopqrs", "", true},
    };
    // clang-format on
    for (const auto& [wert, name, titel, gekuerzt] : rows) {
        const Namensergebnis e = NameBereinigen(wert);
        EXPECT_EQ(std::tie(e.name, e.titel, e.gekuerzt), std::tie(name, titel, gekuerzt)) << wert;
    }
}

// A Hochmeldung names a class number; it counts only above the class the age gives.
TEST(MitgliedsdatenTest, SexAndHochmeldung)
{
    // clang-format off
    const std::tuple<const char*, const char*, const char*, bool, const char*> rows[] = {
        {"24.12.1961", "M", "12", false, "0"}, {"24.12.1990", "M", "12", false, "12"},
        {"24.12.1990", "m", "12;Senioren", false, "12"}, {"24.12.1990", "M", "99", false, "0"},
        {"24.12.1990", " w ", "10", true, "10"}, {"24.12.1990", "W", "20", true, "0"},
        {"24.12.1990", "F", "", false, "0"},
    };
    // clang-format on
    for (const auto& [geburt, sex, hoch, weiblich, hochmeldung] : rows) {
        const Mitgliedsdaten d = MitgliedszeileAuswerten(zeile("A", "B", geburt, sex, hoch), klassen(), 2024).daten;
        EXPECT_EQ(std::pair(d.weiblich, d.hochmeldung), std::pair(weiblich, std::string(hochmeldung))) << sex << hoch;
    }
}
