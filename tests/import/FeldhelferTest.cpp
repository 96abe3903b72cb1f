#include "import/Feldhelfer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace importer;

// The helpers from text to text; umlauts count as one character everywhere.
TEST(Feldhelfer, TextZuText)
{
    using Faelle = std::vector<std::pair<std::string, std::string>>;
    // clang-format off
    const std::vector<std::tuple<const char*, std::string (*)(std::string_view), Faelle>> tabellen = {
        {"BindestricheEntfernen", BindestricheEntfernen,
         {{"04-001-0027", "040010027"}, {"--", ""}, {"Groß-Umstadt", "GroßUmstadt"}}},
        {"SonderzeichenEntfernen", SonderzeichenEntfernen,
         {{"L.G. 3*20/40", "LG 3x2040"}, {"a:b\"c,d/e", "abcde"}, {"Schütz-Verein e.V.", "Schütz-Verein eV"}}},
        {"TelefonNormieren", TelefonNormieren, // an en dash is no separator
         {{"0821 / 123-45", "0821 12345"}, {"+49 821 12345", "49 82112345"}, {"0821-", "0821 "}, {"/0821", "0821"},
          {" - / 0821/123", "0821 123"}, {"Tel.: 0821–123", "0821123"}, {"keine", ""}, {"", ""}}},
        {"LikeMuster", LikeMuster,
         {{"O'Brien", "O_Brien"}, {" d'Artagnan' ", "d_Artagnan_"}, {"   ", ""}, {"\tx ", "\tx"}}},
        {"LeerzeichenBereinigen", LeerzeichenBereinigen,
         {{"Schütz - Verein", "Schütz-Verein"}, {"A  -  B", "A - B"}, {"-A  B", "-A B"}, {"- A", "-A"}, {"A -", "A-"},
          {" -", "-"}, {"a - - b", "a--b"}, {"a  b", "a b"}, {"a   b", "a  b"}, {"a    b", "a  b"},
          {"a     b", "a   b"}, {"  Jäger  ", " Jäger "}, {"", ""}}},
        {"KurzNummerFormatieren", KurzNummerFormatieren,
         {{"12027", "12-027"}, {"1027", "01-027"}, {"027", "-027"}, {"27", ""}, {"", ""}, {"040010027", "10-027"},
          {"äöü", "-äöü"}, {"ßä12", "0ß-ä12"}}},
        {"VereinsNummerFormatieren", VereinsNummerFormatieren,
         {{"40010027", "04-001-0027"}, {"10027", "00-001-0027"}, {"1234567890", "23-456-7890"}, {"1234", "00-000-1234"},
          {"123", ""}, {"ä1234", "00-00ä-1234"}, {"ß00100ü7", "0ß-001-00ü7"}}},
        {"OrdnerVonPfad", OrdnerVonPfad,
         {{"/home/jäger/größe.csv", "/home/jäger/"}, {"a/b/", "a/b/"}, {"/", "/"}, {"b.csv", ""}, {"", ""}}},
    };
    // clang-format on
    for (const auto& [name, funktion, faelle] : tabellen)
        for (const auto& [ein, aus] : faelle)
            EXPECT_EQ(funktion(ein), aus) << name << " «" << ein << "»";
}

// The last five digits of a membership number go; an association's "99" number gives its
// abbreviation, "Ukn" when the code is unknown.
TEST(Feldhelfer, VereinsnummerUmsetzen)
{
    // clang-format off
    const std::vector<std::tuple<std::string, std::string, std::string>> faelle = {
        {"04-001-0027", "10-027", ""}, {"04-001", "04-001", ""}, {"4001", "04-001", ""}, {"99000004", "BY-004", "BY"},
        {"99-000-020", "WT-020", "WT"}, {"99000021", "kn-021", "Ukn"}, {"99", "Uk-n99", "Ukn"}, {"", "", ""},
        {"ä4-001", "ä4-001", ""}};
    // clang-format on
    for (const auto& [spalte, nummer, kuerzel] : faelle) {
        const Vereinsnummer v = VereinsnummerUmsetzen(spalte);
        EXPECT_EQ(std::tie(v.nummer, v.verbandsKuerzel), std::tie(nummer, kuerzel)) << "input «" << spalte << "»";
    }
    for (const char* unbekannt : {"21", "00", "4", " 04", "04 ", "", "BY", "004"})
        EXPECT_EQ(VerbandsKuerzel(unbekannt), "Ukn") << "code «" << unbekannt << "»";
}

TEST(Feldhelfer, ZahlenUndDaten)
{
    // clang-format off
    const std::vector<std::pair<std::string, std::int64_t>> zahlen = {
        {"12", 12}, {" 1 2", 12}, {"7a", 7}, {"1.5", 1}, {"", 0}, {"-5", 0}, {"\t5", 0},
        {"9223372036854775807", INT64_MAX}, {"9223372036854775808", INT64_MAX}};
    // Two-digit years 00-29 are this century; the window is applied before the carry.
    const std::vector<std::tuple<std::string, int, int, int>> daten = {
        {"24.12.1961", 1961, 12, 24}, {"1.2.85", 1985, 2, 1}, {"1985", 1985, 1, 1}, {"05.1985", 1985, 1, 5},
        {"31.02.2000", 2000, 3, 2}, {"", 2000, 1, 1}, {" 2 4 . 1 2 . 1 9 6 1", 1961, 12, 24},
        {"7a.3x.1985y", 1985, 3, 7}, {"0.3.2000", 2000, 2, 29}, {"1.13.2000", 2001, 1, 1}, {"0.0.2000", 1999, 11, 30},
        {"32768.2.2000", 2000, 2, 1}, {"3.32768.2000", 2000, 1, 3}, {"3.32767.2000", 4730, 7, 3},
        {"3.4.32768", 1990, 4, 3}, {"1.1.00", 2000, 1, 1}, {"1.1.29", 2029, 1, 1}, {"1.1.30", 1930, 1, 1},
        {"1.1.99", 1999, 1, 1}, {"1.13.99", 2000, 1, 1}, {"1.1.100", 100, 1, 1}, {"31.12.9999", 9999, 12, 31},
        {"1.1.10000", 1899, 12, 30}};
    // clang-format on
    for (const auto& [ein, zahl] : zahlen)
        EXPECT_EQ(ZahlAmAnfang(ein), zahl) << "input «" << ein << "»";
    for (const auto& [ein, jahr, monat, tag] : daten) {
        const clubdb::Date d = TextZuDatum(ein);
        EXPECT_EQ(std::tuple(d.year(), d.month(), d.day()), std::tuple(jahr, monat, tag)) << "input «" << ein << "»";
    }
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
TEST(Feldhelfer, AltersklasseErmitteln)
{
    const auto maenner = tabelle({{"10", "Herren I", 21, 40, 4},
                                  {"11", "Herren II", 41, 50, 3},
                                  {"12", "Herren III", 51, 60, 2},
                                  {"13", "Senioren", 61, 99, 1},
                                  {"20", "Junioren", 17, 20, 0},
                                  {"21", "Jugend", 15, 16, -1},
                                  {"22", "Schüler", 12, 14, -2}});
    const auto frauen =
        tabelle({{"30", "Damen", 21, 99, 2}, {"40", "Juniorinnen", 17, 20, 0}, {"42", "Schülerinnen", 12, 16, -1}});
    const auto leer = tabelle({});
    auto nichtGeladen = tabelle({{"10", "Alle", 0, 120, 0}});
    nichtGeladen.anzahl = 0; // the entry is there but was not loaded
    const auto rueckwaertsStopp =
        tabelle({{"1", "Erste", 10, 20, 1}, {"2", "Zweite", 10, 20, 1}, {"3", "Dritte", 30, 40, 0}});
    const auto vorwaertsStopp =
        tabelle({{"1", "Erste", 21, 40, 2}, {"2", "Zweite", 10, 14, -1}, {"3", "Dritte", 41, 60, 1}});
    // clang-format off
    const std::vector<std::tuple<const definitions::Klassentabelle*, bool, int, std::string>> faelle = {
        {&maenner, false, 2011, "22 Schüler"}, {&maenner, false, 2008, "21 Jugend"},
        {&maenner, false, 2005, "20 Junioren"}, {&maenner, false, 2003, "10 Herren I"},
        {&maenner, false, 1974, "11 Herren II"}, {&maenner, false, 1950, "13 Senioren"},
        {&maenner, false, 2016, "0 ?"}, {&maenner, false, 1900, "0 ?"}, {&maenner, false, 2030, "0 ?"},
        {&frauen, true, 2011, "42 Schülerinnen"}, {&frauen, true, 2005, "40 Juniorinnen"},
        {&frauen, true, 1974, "30 Damen"},
        {&leer, false, 2000, "0 ?"}, {&nichtGeladen, true, 2000, "0 ?"},
        {&rueckwaertsStopp, false, 2009, "1 Erste"}, {&rueckwaertsStopp, true, 1989, "3 Dritte"},
        {&vorwaertsStopp, true, 2012, "0 ?"}, {&vorwaertsStopp, false, 1974, "0 ?"},
        {&vorwaertsStopp, false, 1994, "1 Erste"}};
    // clang-format on
    for (const auto& [liste, weiblich, geburtsjahr, erwartet] : faelle) {
        const auto& frauenListe = weiblich ? *liste : leer;
        const auto& maennerListe = weiblich ? leer : *liste;
        const auto e = AltersklasseErmitteln(*clubdb::Date::fromCivil(geburtsjahr, 12, 31), weiblich, frauenListe,
                                             maennerListe, 2024);
        EXPECT_EQ(e.KlassenNr + " " + e.Name, erwartet) << "born " << geburtsjahr << (weiblich ? " w" : " m");
    }
}
