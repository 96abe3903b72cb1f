#include "import/Mitgliedsdaten.h"

#include <gtest/gtest.h>

using namespace importer;

namespace {

definitions::Altersklasse klasse(const char* name, const char* nummer, int von, int bis, bool weibl, int rang)
{
    return {name, nummer, static_cast<std::int16_t>(von), static_cast<std::int16_t>(bis), weibl,
            static_cast<std::int16_t>(rang)};
}

definitions::Definitionen klassen()
{
    definitions::Definitionen d;
    const auto herren = klasse("Herrenklasse", "10", 21, 45, false, 0);
    const auto senioren = klasse("Seniorenklasse", "12", 46, 99, false, -1);
    const auto damen = klasse("Damenklasse", "20", 21, 45, true, 0);
    d.klassen.eintraege = {herren, senioren, damen};
    d.klassen.anzahl = 3;
    d.maenner.eintraege = {herren, senioren};
    d.maenner.anzahl = 2;
    d.frauen.eintraege = {damen};
    d.frauen.anzahl = 1;
    return d;
}

std::string zeile(const std::string& name, const std::string& vorname, const std::string& geburt = "24.12.1961",
                  const std::string& sex = "M", const std::string& hoch = "")
{
    return "1,04-001,04-001-0027,01.03.1990,a,b," + name + "," + vorname + "," + geburt + "," + sex + "," + hoch +
           ",c,d,e,f,Hauptstr.,12,86150,Augsburg,0821 / 123-45";
}

} // namespace

TEST(MitgliedsdatenTest, TheExampleLineGivesTheMemberRecord)
{
    const Mitgliedszeile z = MitgliedszeileAuswerten(zeile("Dr. Müller", "Hans"), klassen(), 2024);
    const Mitgliedsdaten& d = z.daten;
    EXPECT_EQ(z.vereinsnummer, "04-001");
    EXPECT_EQ(d.mitgliedsnummer, "04-001-0027");
    EXPECT_EQ(d.eintritt.toText(), "1990-03-01 00:00:00");
    EXPECT_EQ(d.titel, "Dr.");
    EXPECT_EQ(d.nachname, "Müller");
    EXPECT_EQ(d.vorname, "Hans");
    EXPECT_EQ(d.geburtsdatum.toText(), "1961-12-24 00:00:00");
    EXPECT_FALSE(d.weiblich);
    EXPECT_EQ(d.hochmeldung, "0");
    EXPECT_EQ(d.strasse, "Hauptstr. 12");
    EXPECT_EQ(d.plz, "86150");
    EXPECT_EQ(d.ort, "Augsburg");
    EXPECT_EQ(d.telefon, "0821 12345");
    EXPECT_EQ(d.mail, " ");
    EXPECT_EQ(z.gruende, "");

    // Column 20 is the rest of the line up to its next comma; a short line has none.
    EXPECT_EQ(MitgliedszeileAuswerten(zeile("A", "B") + ",weiter", klassen(), 2024).daten.telefon, "0821 12345");
    const Mitgliedszeile kurz = MitgliedszeileAuswerten("1,04-001,04-001-0027", klassen(), 2024);
    EXPECT_EQ(kurz.daten.telefon, "");
    EXPECT_EQ(kurz.daten.strasse, "");
    EXPECT_EQ(kurz.daten.geburtsdatum.toText(), "2000-01-01 00:00:00");
    EXPECT_EQ(kurz.daten.titel, " ");
}

TEST(MitgliedsdatenTest, NameRulesSplitTitlesAndShortenLongNames)
{
    struct Row
    {
        const char* wert;
        const char* name;
        const char* titel;
        bool gekuerzt;
    };
    const Row rows[] = {
        {"Dr. med. Müller", "Müller", "Dr. med.", false},
        {"Prof. Dr.-Ing. Schmidt", "Schmidt", "Prof. Dr.-Ing.", false},
        {"St. Peter", "St Peter", "", false},
        {"Dr.Meier", "DrMeier", "", false},
        {"Schütz - Meier", "Schütz-Meier", "", false},
        {"Abcdefghijklmnopqrst", "Abcdefghijklmnopqrst", "", false},   // 20: kept
        {"Abcdefghijklmnopqrst Uvw", "Abcdefghijklmnopqrst", "", true}, // blank at 21
        {"Müller-Lüdenscheidt-Schmidt", "Müller-Lüdenscheidt", "", true},
        {"Abcd Efghijklmnopqrstuvwxyz", "Abcd Efghijklmnopqrs", "", true}, // blank only at 5
        {"Abcde Fghijklmnopqrstuvwxyz", "Abcde", "", true},              // blank at 6
        {"Ääääääääääääääääääää", "Ääääääääääääääääääää", "", false},       // umlauts count once
        {"", "", "", false},
    };
    for (const Row& row : rows) {
        const Namensergebnis e = NameBereinigen(row.wert);
        EXPECT_EQ(e.name, row.name) << row.wert;
        EXPECT_EQ(e.titel, row.titel) << row.wert;
        EXPECT_EQ(e.gekuerzt, row.gekuerzt) << row.wert;
    }

    // The first name's title wins; each shortened name gives its own reason.
    const Mitgliedszeile z =
        MitgliedszeileAuswerten(zeile("Dr. Abcdefghijklmnopqrst Uvw", "Prof. Müller-Lüdenscheidt-Schmidt"),
                                klassen(), 2024);
    EXPECT_EQ(z.daten.titel, "Prof.");
    EXPECT_EQ(z.gruende, "\t- Nachname zu lang -> gekürzt\r\n\t- Vorname zu lang -> gekürzt\r\n");
}

TEST(MitgliedsdatenTest, SexHochmeldungAndMembershipNumber)
{
    struct Row
    {
        const char* geburt;
        const char* sex;
        const char* hoch;
        bool weiblich;
        const char* hochmeldung;
    };
    const Row rows[] = {
        {"24.12.1961", "M", "12", false, "0"},           // the class he is in by age
        {"24.12.1990", "M", "12", false, "12"},          // registered above his class
        {"24.12.1990", "m", "12;Senioren", false, "12"}, // the number before ";"
        {"24.12.1990", "M", "99", false, "0"},           // unknown class
        {"24.12.1990", " w ", "10", true, "10"},
        {"24.12.1990", "W", "20", true, "0"},
        {"24.12.1990", "F", "", false, "0"},
    };
    for (const Row& row : rows) {
        const Mitgliedsdaten d =
            MitgliedszeileAuswerten(zeile("A", "B", row.geburt, row.sex, row.hoch), klassen(), 2024).daten;
        EXPECT_EQ(d.weiblich, row.weiblich) << row.sex;
        EXPECT_EQ(d.hochmeldung, row.hochmeldung) << row.hoch;
    }

    EXPECT_EQ(KlassenNrSuchen("  ", klassen().klassen), "0");
    EXPECT_EQ(KlassenNrSuchen(" 12 ", klassen().klassen), "12");
    EXPECT_EQ(KlassenNrSuchen("12 ;x", klassen().klassen), "0"); // the part before ";" is taken as it stands

    const auto nummer = [](const std::string& spalte) {
        return MitgliedszeileAuswerten("1,04-001," + spalte, klassen(), 2024).daten.mitgliedsnummer;
    };
    EXPECT_EQ(nummer("040010027"), "04-001-0027");
    EXPECT_EQ(nummer("1-0027"), "00-001-0027");
    // "99", one digit, the association's code 04, then its own number; the association's
    // abbreviation takes the place of the "99".
    EXPECT_EQ(nummer("99004123"), "0B-Y00-4123");
    EXPECT_EQ(nummer("027"), "");
}
