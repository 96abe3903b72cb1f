#include "import/Feldhelfer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace importer;

// The helpers from text to text, dates written as text; umlauts count as one character
// everywhere. Two-digit years 00-29 are this century; the window is applied before the carry.
// Every limit of the helpers is met at the limit and one over it: the shortest club and membership
// numbers, the codes of the associations, the two characters that LeerzeichenBereinigen needs,
// the 16-bit parts of a date (a day or month beyond gives 1, a year 1990), the two-digit year
// window, the first and last valid day, the zero date 30.12.1899 and the days around it.
// VereinsnummerUmsetzen drops the last five digits of a membership number; an association's "99"
// number gives its abbreviation, "Ukn" when the code is unknown.
TEST(Feldhelfer, TextZuText)
{
    const auto datum = +[](std::string_view s) { return TextZuDatum(s).toGerman(); };
    const auto verein = +[](std::string_view s) {
        return VereinsnummerUmsetzen(s).nummer + "|" + VereinsnummerUmsetzen(s).verbandsKuerzel;
    };
    // clang-format off
    const std::vector<std::tuple<const char*, std::string (*)(std::string_view),
                                 std::vector<std::pair<std::string, std::string>>>> regeln = {
        {"TelefonNormieren", TelefonNormieren, // an en dash is no separator
         {{"0821 / 123-45", "0821 12345"}, {"+49 821 12345", "49 82112345"}, {"0821-", "0821 "}, {"/0821", "0821"},
          {" - / 0821/123", "0821 123"}, {"Tel.: 0821–123", "0821123"}, {"keine", ""}, {"", ""}}},
        {"LikeMuster", LikeMuster,
         {{"O'Brien", "O_Brien"}, {" d'Artagnan' ", "d_Artagnan_"}, {"   ", ""}, {"\tx ", "\tx"}}},
        {"LeerzeichenBereinigen", LeerzeichenBereinigen,
         {{"Schütz - Verein", "Schütz-Verein"}, {"A  -  B", "A - B"}, {"-A  B", "-A B"}, {"- A", "-A"}, {"A -", "A-"},
          {"a - - b", "a--b"}, {"a   b", "a  b"}, {"a    b", "a  b"}, {"a     b", "a   b"}, {"  Jäger  ", " Jäger "},
          {"  ", " "}, {" -", "-"}}},
        {"KurzNummerFormatieren", KurzNummerFormatieren,
         {{"ü7", ""}, {"ü27", "-ü27"}, {"1ü27", "01-ü27"}, {"12027", "12-027"}, {"040010027", "10-027"}}},
        {"VereinsNummerFormatieren", VereinsNummerFormatieren,
         {{"40010027", "04-001-0027"}, {"10027", "00-001-0027"}, {"1234567890", "23-456-7890"},
          {"ß00100ü7", "0ß-001-00ü7"}, {"ü23", ""}, {"ü234", "00-000-ü234"}}},
        {"VerbandsKuerzel", VerbandsKuerzel,
         {{"4", "Ukn"}, {" 04", "Ukn"}, {"04 ", "Ukn"}, {"", "Ukn"}, {"BY", "Ukn"}, {"00", "Ukn"}, {"01", "BD"},
          {"20", "WT"}, {"21", "Ukn"}}},
        {"VereinsnummerUmsetzen", verein,
         {{"04-001-0027", "10-027|"}, {"04-001", "04-001|"}, {"4001", "04-001|"}, {"99000004", "BY-004|BY"},
          {"99-000-020", "WT-020|WT"}, {"99000021", "kn-021|Ukn"}, {"99", "Uk-n99|Ukn"}, {"", "|"},
          {"ä4-001", "ä4-001|"}}},
        {"TextZuDatum", datum,
         {{"24.12.1961", "24.12.1961"}, {"1.2.85", "01.02.1985"}, {"1985", "01.01.1985"}, {"05.1985", "05.01.1985"},
          {"31.02.2000", "02.03.2000"}, {"", "01.01.2000"}, {" 2 4 . 1 2 . 1 9 6 1", "24.12.1961"},
          {"7a.3x.1985y", "07.03.1985"}, {"0.3.2000", "29.02.2000"}, {"1.13.2000", "01.01.2001"},
          {"0.0.2000", "30.11.1999"}, {"1.13.99", "01.01.2000"}, {"-5.3.2000", "29.02.2000"}, // no sign
          {"\t5.3.2000", "29.02.2000"}, // a tab is no blank
          {"32767.1.1985", "17.09.2074"}, {"32768.2.2000", "01.02.2000"}, {"3.32767.2000", "03.07.4730"},
          {"3.32768.2000", "03.01.2000"}, {"1.1.32767", "30.12.1899"}, {"3.4.32768", "03.04.1990"},
          {"1.1.29", "01.01.2029"}, {"1.1.30", "01.01.1930"}, {"31.12.99", "31.12.1999"}, {"1.1.100", "01.01.0100"},
          {"0.1.100", "30.12.1899"}, {"31.12.9999", "31.12.9999"}, {"32.12.9999", "30.12.1899"},
          {"1.1.10000", "30.12.1899"}, {"29.12.1899", "29.12.1899"}, {"31.12.1899", "31.12.1899"},
          {"1.1.00", "01.01.2000"}, {"99999999999999999999.2.2000", "01.02.2000"}}}, // far beyond 64 bits too
    };
    // clang-format on
    for (const auto& [name, funktion, faelle] : regeln)
        for (const auto& [ein, aus] : faelle)
            EXPECT_EQ(funktion(ein), aus) << name << " «" << ein << "»";
}

namespace {

definitions::Klassentabelle tabelle(std::vector<std::tuple<const char*, const char*, int, int, int>> klassen)
{
    definitions::Klassentabelle t;
    t.anzahl = static_cast<std::int16_t>(klassen.size());
    if (!klassen.empty())
        t.eintraege.clear();
    for (const auto& [nr, name, von, bis, rang] : klassen)
        t.eintraege.push_back({name, nr, static_cast<std::int16_t>(von), static_cast<std::int16_t>(bis), false,
                               static_cast<std::int16_t>(rang)});
    return t;
}

} // namespace

// A class is found by the age reached in the competition year: the youth classes from the end
// of the list until a rank above 0, then the adult classes from the front until a rank below 0.
// Ages are met at the limits of the classes and one year beyond them.
TEST(Feldhelfer, AltersklasseErmitteln)
{
    // clang-format off
    const auto maenner = tabelle({
        {"10", "Herren I", 21, 40, 4}, {"11", "Herren II", 41, 50, 3}, {"12", "Herren III", 51, 60, 2},
        {"13", "Senioren", 61, 99, 1}, {"20", "Junioren", 17, 20, 0}, {"21", "Jugend", 15, 16, -1},
        {"22", "Schüler", 12, 14, -2}});
    const auto frauen = tabelle({{"30", "Damen", 21, 99, 2}, {"40", "Juniorinnen", 17, 20, 0},
                                 {"42", "Schülerinnen", 12, 16, -1}});
    const auto leer = tabelle({});
    auto nichtGeladen = tabelle({{"10", "Alle", 0, 120, 0}});
    nichtGeladen.anzahl = 0; // the entry is there but was not loaded
    const auto rueckwaertsStopp =
        tabelle({{"1", "Erste", 10, 20, 1}, {"2", "Zweite", 10, 20, 1}, {"3", "Dritte", 30, 40, 0}});
    const auto vorwaertsStopp =
        tabelle({{"1", "Erste", 21, 40, 2}, {"2", "Zweite", 10, 14, -1}, {"3", "Dritte", 41, 60, 1}});
    const std::vector<std::tuple<const definitions::Klassentabelle*, bool, int, std::string>> faelle = {
        {&maenner, false, 2013, "0 ?"}, {&maenner, false, 2012, "22 Schüler"}, {&maenner, false, 2008, "21 Jugend"},
        {&maenner, false, 2004, "20 Junioren"}, {&maenner, false, 2003, "10 Herren I"},
        {&maenner, false, 1984, "10 Herren I"}, {&maenner, false, 1983, "11 Herren II"},
        {&maenner, false, 1974, "11 Herren II"}, {&maenner, false, 1925, "13 Senioren"},
        {&maenner, false, 1924, "0 ?"}, {&maenner, false, 2030, "0 ?"},
        {&frauen, true, 2011, "42 Schülerinnen"}, {&frauen, true, 2005, "40 Juniorinnen"},
        {&frauen, true, 1974, "30 Damen"}, {&leer, false, 2000, "0 ?"}, {&nichtGeladen, true, 2000, "0 ?"},
        {&rueckwaertsStopp, false, 2009, "1 Erste"}, {&rueckwaertsStopp, true, 1989, "3 Dritte"},
        {&vorwaertsStopp, true, 2012, "0 ?"}, {&vorwaertsStopp, false, 1974, "0 ?"},
        {&vorwaertsStopp, false, 1994, "1 Erste"}};
    // clang-format on
    for (const auto& [liste, weiblich, geburtsjahr, erwartet] : faelle) {
        const auto e = AltersklasseErmitteln(*clubdb::Date::fromCivil(geburtsjahr, 12, 31), weiblich,
                                             weiblich ? *liste : leer, weiblich ? leer : *liste, 2024);
        EXPECT_EQ(e.KlassenNr + " " + e.Name, erwartet) << "born " << geburtsjahr << (weiblich ? " w" : " m");
    }
}
