#include "import/Feldhelfer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace importer;

namespace {

struct TextFall
{
    std::string ein;
    std::string aus;
};

} // namespace

// The helpers from text to text; umlauts count as one character everywhere.
TEST(Feldhelfer, TextZuText)
{
    const std::vector<std::tuple<const char*, std::string (*)(std::string_view), std::vector<TextFall>>> tabellen = {
        {"BindestricheEntfernen",
         BindestricheEntfernen,
         {{"04-001-0027", "040010027"}, {"--", ""}, {"Groß-Umstadt", "GroßUmstadt"}}},
        {"SonderzeichenEntfernen",
         SonderzeichenEntfernen,
         {{"L.G. 3*20/40", "LG 3x2040"}, {"a:b\"c,d/e", "abcde"}, {"Schütz-Verein e.V.", "Schütz-Verein eV"}}},
        {"TelefonNormieren",
         TelefonNormieren,
         {{"0821 / 123-45", "0821 12345"},
          {"+49 821 12345", "49 82112345"},
          {"0821-", "0821 "},
          {"/0821", "0821"},
          {" - / 0821/123", "0821 123"},
          {"Tel.: 0821–123", "0821123"}, // en dash is no separator
          {"keine", ""},
          {"", ""}}},
        {"LikeMuster",
         LikeMuster,
         {{"O'Brien", "O_Brien"}, {" d'Artagnan' ", "d_Artagnan_"}, {"   ", ""}, {"\tx ", "\tx"}}},
        {"LeerzeichenBereinigen",
         LeerzeichenBereinigen,
         {{"Schütz - Verein", "Schütz-Verein"},
          {"A  -  B", "A - B"},
          {"-A  B", "-A B"},
          {"- A", "-A"},
          {"A -", "A-"},
          {" -", "-"},
          {"a - - b", "a--b"},
          {"a  b", "a b"},
          {"a   b", "a  b"},
          {"a    b", "a  b"},
          {"a     b", "a   b"},
          {"  Jäger  ", " Jäger "},
          {"", ""}}},
        {"KurzNummerFormatieren",
         KurzNummerFormatieren,
         {{"12027", "12-027"},
          {"1027", "01-027"},
          {"027", "-027"},
          {"27", ""},
          {"", ""},
          {"040010027", "10-027"},
          {"äöü", "-äöü"},
          {"ßä12", "0ß-ä12"}}},
        {"VereinsNummerFormatieren",
         VereinsNummerFormatieren,
         {{"40010027", "04-001-0027"},
          {"10027", "00-001-0027"},
          {"1234567890", "23-456-7890"},
          {"1234", "00-000-1234"},
          {"123", ""},
          {"ä1234", "00-00ä-1234"},
          {"ß00100ü7", "0ß-001-00ü7"}}},
        {"OrdnerVonPfad",
         OrdnerVonPfad,
         {{"/home/jäger/größe.csv", "/home/jäger/"}, {"a/b/", "a/b/"}, {"/", "/"}, {"b.csv", ""}, {"", ""}}},
    };
    for (const auto& [name, funktion, faelle] : tabellen)
        for (const TextFall& fall : faelle)
            EXPECT_EQ(funktion(fall.ein), fall.aus) << name << " «" << fall.ein << "»";
}

TEST(Feldhelfer, NaechstesFeld)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> faelle = {
        {"x,04-001-0027", {"x", "04-001-0027", "", ""}},
        {"a,,b,", {"a", "", "b", "", ""}},
        {" Meier ,\"Hans\"", {" Meier ", "\"Hans\"", ""}},
        {"Müller, Hans,1", {"Müller", " Hans", "1"}}, // a comma in a name shifts the columns
        {"", {"", ""}}};
    for (const auto& [zeile, felder] : faelle) {
        std::string rest = zeile;
        for (const auto& feld : felder)
            EXPECT_EQ(NaechstesFeld(rest), feld) << "line «" << zeile << "»";
        EXPECT_EQ(rest, "");
    }
}

TEST(Feldhelfer, VereinsnummerUmsetzen)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> faelle = {
        {"04-001-0027", "10-027", ""}, // the last five digits of a membership number
        {"04-001", "04-001", ""},      {"4001", "04-001", ""},
        {"99000004", "BY-004", "BY"},  {"99-000-020", "WT-020", "WT"},
        {"99000021", "kn-021", "Ukn"}, // unknown association code
        {"99", "Uk-n99", "Ukn"},       {"", "", ""},
        {"ä4-001", "ä4-001", ""}};
    for (const auto& [spalte, nummer, kuerzel] : faelle) {
        const Vereinsnummer v = VereinsnummerUmsetzen(spalte);
        EXPECT_EQ(std::tie(v.nummer, v.verbandsKuerzel), std::tie(nummer, kuerzel)) << "input «" << spalte << "»";
    }
}

TEST(Feldhelfer, VerbandsKuerzel)
{
    const char* const kuerzel[] = {"BD", "BL", "BR", "BY", "HH", "HS", "MV", "ND", "NS", "NV",
                                   "OP", "PF", "RH", "SA", "SB", "SC", "ST", "TH", "WF", "WT"};
    for (int i = 0; i < 20; ++i) {
        const std::string code = (i < 9 ? "0" : "") + std::to_string(i + 1);
        EXPECT_EQ(VerbandsKuerzel(code), kuerzel[i]) << "code " << code;
    }
    for (const char* unbekannt : {"21", "00", "4", " 04", "04 ", "", "BY", "004"})
        EXPECT_EQ(VerbandsKuerzel(unbekannt), "Ukn") << "code «" << unbekannt << "»";
}

TEST(Feldhelfer, ZahlAmAnfang)
{
    const std::vector<std::pair<std::string, std::int64_t>> faelle = {{"12", 12},
                                                                      {" 1 2", 12},
                                                                      {"7a", 7},
                                                                      {"1.5", 1},
                                                                      {"", 0},
                                                                      {"-5", 0},
                                                                      {"\t5", 0},
                                                                      {"9223372036854775807", INT64_MAX},
                                                                      {"9223372036854775808", INT64_MAX}};
    for (const auto& [ein, zahl] : faelle)
        EXPECT_EQ(ZahlAmAnfang(ein), zahl) << "input «" << ein << "»";
}

TEST(Feldhelfer, TextZuDatum)
{
    const std::vector<std::tuple<std::string, int, int, int>> faelle = {
        {"24.12.1961", 1961, 12, 24},
        {"1.2.85", 1985, 2, 1},
        {"1985", 1985, 1, 1},
        {"05.1985", 1985, 1, 5},
        {"31.02.2000", 2000, 3, 2},
        {"", 2000, 1, 1},
        {" 2 4 . 1 2 . 1 9 6 1", 1961, 12, 24},
        {"7a.3x.1985y", 1985, 3, 7},
        {"0.3.2000", 2000, 2, 29},
        {"1.13.2000", 2001, 1, 1},
        {"0.0.2000", 1999, 11, 30},
        {"32768.2.2000", 2000, 2, 1},
        {"3.32768.2000", 2000, 1, 3},
        {"3.32767.2000", 4730, 7, 3},
        {"3.4.32768", 1990, 4, 3},
        {"1.1.00", 2000, 1, 1},
        {"1.1.29", 2029, 1, 1},
        {"1.1.30", 1930, 1, 1},
        {"1.1.99", 1999, 1, 1},
        {"1.13.99", 2000, 1, 1}, // the window is applied before the carry
        {"1.1.100", 100, 1, 1},
        {"31.12.9999", 9999, 12, 31},
        {"1.1.10000", 1899, 12, 30}};
    for (const auto& [ein, jahr, monat, tag] : faelle) {
        const clubdb::Date d = TextZuDatum(ein);
        EXPECT_EQ(std::tuple(d.year(), d.month(), d.day()), std::tuple(jahr, monat, tag)) << "input «" << ein << "»";
    }
}

namespace {

definitions::Klassentabelle tabelle(std::vector<definitions::Altersklasse> klassen)
{
    definitions::Klassentabelle t;
    t.anzahl = static_cast<std::int16_t>(klassen.size());
    if (!klassen.empty())
        t.eintraege = std::move(klassen);
    return t;
}

definitions::Altersklasse klasse(std::string nr, std::string name, std::int16_t von, std::int16_t bis,
                                 std::int16_t rang)
{
    return {std::move(name), std::move(nr), von, bis, false, rang};
}

std::string klasseFuer(int geburtsjahr, bool weiblich, const definitions::Klassentabelle& frauen,
                       const definitions::Klassentabelle& maenner)
{
    const auto e =
        AltersklasseErmitteln(*clubdb::Date::fromCivil(geburtsjahr, 12, 31), weiblich, frauen, maenner, 2024);
    return e.KlassenNr + " " + e.Name;
}

} // namespace

TEST(Feldhelfer, AltersklasseErmitteln)
{
    const auto maenner = tabelle({klasse("10", "Herren I", 21, 40, 4), klasse("11", "Herren II", 41, 50, 3),
                                  klasse("12", "Herren III", 51, 60, 2), klasse("13", "Senioren", 61, 99, 1),
                                  klasse("20", "Junioren", 17, 20, 0), klasse("21", "Jugend", 15, 16, -1),
                                  klasse("22", "Schüler", 12, 14, -2)});
    const auto frauen = tabelle({klasse("30", "Damen", 21, 99, 2), klasse("40", "Juniorinnen", 17, 20, 0),
                                 klasse("42", "Schülerinnen", 12, 16, -1)});
    const std::vector<std::tuple<int, bool, std::string>> faelle = {
        {2011, false, "22 Schüler"}, // 13 in 2024, whatever the birthday
        {2008, false, "21 Jugend"},     {2005, false, "20 Junioren"}, {2003, false, "10 Herren I"},
        {1974, false, "11 Herren II"},  {1950, false, "13 Senioren"}, {2016, false, "0 ?"},
        {1900, false, "0 ?"},           {2030, false, "0 ?"},         {2011, true, "42 Schülerinnen"},
        {2005, true, "40 Juniorinnen"}, {1974, true, "30 Damen"}};
    for (const auto& [geburtsjahr, weiblich, erwartet] : faelle)
        EXPECT_EQ(klasseFuer(geburtsjahr, weiblich, frauen, maenner), erwartet)
            << "born " << geburtsjahr << (weiblich ? " w" : " m");
}

TEST(Feldhelfer, AltersklasseErmittelnSonderfaelle)
{
    const auto leer = tabelle({});
    auto nichtGeladen = tabelle({klasse("10", "Alle", 0, 120, 0)});
    nichtGeladen.anzahl = 0; // the entry is there but was not loaded
    // Backward, the entry of rank 1 stops the pass without being tested; forward, the first
    // fitting entry wins.
    const auto rueckwaertsStopp =
        tabelle({klasse("1", "Erste", 10, 20, 1), klasse("2", "Zweite", 10, 20, 1), klasse("3", "Dritte", 30, 40, 0)});
    // Unsorted: forward, the entry of rank -1 stops the pass without being tested.
    const auto vorwaertsStopp =
        tabelle({klasse("1", "Erste", 21, 40, 2), klasse("2", "Zweite", 10, 14, -1), klasse("3", "Dritte", 41, 60, 1)});
    const std::vector<std::tuple<const definitions::Klassentabelle*, int, std::string>> faelle = {
        {&leer, 2000, "0 ?"},
        {&nichtGeladen, 2000, "0 ?"},
        {&rueckwaertsStopp, 2009, "1 Erste"},
        {&rueckwaertsStopp, 1989, "3 Dritte"},
        {&vorwaertsStopp, 2012, "0 ?"},
        {&vorwaertsStopp, 1974, "0 ?"},
        {&vorwaertsStopp, 1994, "1 Erste"}};
    for (const auto& [liste, geburtsjahr, erwartet] : faelle) {
        EXPECT_EQ(klasseFuer(geburtsjahr, false, leer, *liste), erwartet) << "born " << geburtsjahr;
        EXPECT_EQ(klasseFuer(geburtsjahr, true, *liste, leer), erwartet) << "born " << geburtsjahr;
    }
}
