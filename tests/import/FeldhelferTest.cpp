#include "import/Feldhelfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace importer;

namespace {

struct TextFall
{
    std::string ein;
    std::string aus;
};

template <typename Funktion> void pruefeTabelle(Funktion f, const std::vector<TextFall>& faelle)
{
    for (const auto& fall : faelle)
        EXPECT_EQ(f(fall.ein), fall.aus) << "input «" << fall.ein << "»";
}

} // namespace

TEST(Feldhelfer, NaechstesFeld)
{
    const struct
    {
        std::string zeile;
        std::vector<std::string> felder;
    } faelle[] = {{"x,04-001-0027", {"x", "04-001-0027", "", ""}},
                  {"a,,b,", {"a", "", "b", "", ""}},
                  {" Meier ,\"Hans\"", {" Meier ", "\"Hans\"", ""}},
                  {"Müller, Hans,1", {"Müller", " Hans", "1"}}, // a comma in a name shifts the columns
                  {"", {"", ""}}};
    for (const auto& fall : faelle) {
        std::string rest = fall.zeile;
        for (const auto& feld : fall.felder)
            EXPECT_EQ(NaechstesFeld(rest), feld) << "line «" << fall.zeile << "»";
        EXPECT_EQ(rest, "");
    }
}

TEST(Feldhelfer, VereinsnummerUmsetzen)
{
    const struct
    {
        std::string spalte, nummer, kuerzel;
    } faelle[] = {{"04-001-0027", "10-027", ""}, // the last five digits of a membership number
                  {"04-001", "04-001", ""},      {"4001", "04-001", ""},
                  {"99000004", "BY-004", "BY"},  {"99-000-020", "WT-020", "WT"},
                  {"99000021", "kn-021", "Ukn"}, // unknown association code
                  {"99", "Uk-n99", "Ukn"},       {"", "", ""},
                  {"ä4-001", "ä4-001", ""}};
    for (const auto& fall : faelle) {
        const Vereinsnummer v = VereinsnummerUmsetzen(fall.spalte);
        EXPECT_EQ(v.nummer, fall.nummer) << "input «" << fall.spalte << "»";
        EXPECT_EQ(v.verbandsKuerzel, fall.kuerzel) << "input «" << fall.spalte << "»";
    }
}

TEST(Feldhelfer, BindestricheUndSonderzeichen)
{
    pruefeTabelle(BindestricheEntfernen, {{"04-001-0027", "040010027"}, {"--", ""}, {"Groß-Umstadt", "GroßUmstadt"}});
    pruefeTabelle(SonderzeichenEntfernen, {{"L.G. 3*20/40", "LG 3x2040"},
                                           {"a:b\"c,d/e", "abcde"},
                                           {"**", "xx"},
                                           {"Schütz-Verein e.V.", "Schütz-Verein eV"}});
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

TEST(Feldhelfer, TelefonNormieren)
{
    pruefeTabelle(TelefonNormieren, {{"0821 / 123-45", "0821 12345"},
                                     {"+49 821 12345", "49 82112345"},
                                     {"0821-", "0821 "},
                                     {"0821 ", "0821 "},
                                     {"/0821", "0821"},
                                     {" - / 0821/123", "0821 123"},
                                     {"(0821) 123", "0821 123"},
                                     {"Tel.: 0821–123", "0821123"}, // en dash is no separator
                                     {"keine", ""},
                                     {"", ""}});
}

TEST(Feldhelfer, LikeMuster)
{
    pruefeTabelle(
        LikeMuster,
        {{"O'Brien", "O_Brien"}, {" d'Artagnan' ", "d_Artagnan_"}, {"''", "__"}, {"   ", ""}, {"\tx ", "\tx"}});
}

TEST(Feldhelfer, LeerzeichenBereinigen)
{
    pruefeTabelle(LeerzeichenBereinigen, {{"Schütz - Verein", "Schütz-Verein"},
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
                                          {"", ""}});
}

TEST(Feldhelfer, KurzNummerFormatieren)
{
    pruefeTabelle(KurzNummerFormatieren, {{"12027", "12-027"},
                                          {"1027", "01-027"},
                                          {"027", "-027"},
                                          {"27", ""},
                                          {"", ""},
                                          {"040010027", "10-027"},
                                          {"äöü", "-äöü"},
                                          {"ßä12", "0ß-ä12"},
                                          {"Äß027", "Äß-027"}});
}

TEST(Feldhelfer, VereinsNummerFormatieren)
{
    pruefeTabelle(VereinsNummerFormatieren, {{"40010027", "04-001-0027"},
                                             {"10027", "00-001-0027"},
                                             {"1234567890", "23-456-7890"},
                                             {"1234", "00-000-1234"},
                                             {"123", ""},
                                             {"ä1234", "00-00ä-1234"},
                                             {"Mü0010027", "Mü-001-0027"},
                                             {"ß00100ü7", "0ß-001-00ü7"}});
}

TEST(Feldhelfer, ZahlAmAnfang)
{
    const struct
    {
        std::string ein;
        std::int64_t zahl;
    } faelle[] = {{"12", 12},
                  {" 1 2", 12},
                  {"7a", 7},
                  {"1.5", 1},
                  {"", 0},
                  {"-5", 0},
                  {"+5", 0},
                  {"\t5", 0},
                  {"9223372036854775807", INT64_MAX},
                  {"9223372036854775808", INT64_MAX},
                  {"99999999999999999999999", INT64_MAX}};
    for (const auto& fall : faelle)
        EXPECT_EQ(ZahlAmAnfang(fall.ein), fall.zahl) << "input «" << fall.ein << "»";
}

TEST(Feldhelfer, TextZuDatum)
{
    const struct
    {
        std::string ein;
        int jahr, monat, tag;
    } faelle[] = {{"24.12.1961", 1961, 12, 24},
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
                  {"1.1.10000", 1899, 12, 30},
                  {"31.12.9999", 9999, 12, 31},
                  {"1.1.32767", 1899, 12, 30}};
    for (const auto& fall : faelle) {
        const clubdb::Date d = TextZuDatum(fall.ein);
        EXPECT_EQ(d.year(), fall.jahr) << "input «" << fall.ein << "»";
        EXPECT_EQ(d.month(), fall.monat) << "input «" << fall.ein << "»";
        EXPECT_EQ(d.day(), fall.tag) << "input «" << fall.ein << "»";
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

definitions::Altersklasse klasse(std::string nr, std::string name, int von, int bis, int rang)
{
    return {std::move(name),
            std::move(nr),
            static_cast<std::int16_t>(von),
            static_cast<std::int16_t>(bis),
            false,
            static_cast<std::int16_t>(rang)};
}

Altersklassenergebnis klasseFuer(int geburtsjahr, bool weiblich, const definitions::Klassentabelle& frauen,
                                 const definitions::Klassentabelle& maenner)
{
    return AltersklasseErmitteln(*clubdb::Date::fromCivil(geburtsjahr, 12, 31), weiblich, frauen, maenner, 2024);
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
    const struct
    {
        int geburtsjahr;
        bool weiblich;
        std::string nr, name;
    } faelle[] = {
        {2011, false, "22", "Schüler"}, // 13 in 2024, whatever the birthday
        {2008, false, "21", "Jugend"},     {2005, false, "20", "Junioren"}, {2003, false, "10", "Herren I"},
        {1974, false, "11", "Herren II"},  {1950, false, "13", "Senioren"}, {2016, false, "0", "?"},
        {1900, false, "0", "?"},           {2030, false, "0", "?"},         {2011, true, "42", "Schülerinnen"},
        {2005, true, "40", "Juniorinnen"}, {1974, true, "30", "Damen"}};
    for (const auto& fall : faelle) {
        const auto e = klasseFuer(fall.geburtsjahr, fall.weiblich, frauen, maenner);
        EXPECT_EQ(e.KlassenNr, fall.nr) << "born " << fall.geburtsjahr << (fall.weiblich ? " w" : " m");
        EXPECT_EQ(e.Name, fall.name) << "born " << fall.geburtsjahr << (fall.weiblich ? " w" : " m");
    }
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
    const struct
    {
        const definitions::Klassentabelle& liste;
        int geburtsjahr;
        std::string nr;
    } faelle[] = {{leer, 2000, "0"},
                  {nichtGeladen, 2000, "0"},
                  {rueckwaertsStopp, 2009, "1"},
                  {rueckwaertsStopp, 1989, "3"},
                  {vorwaertsStopp, 2012, "0"},
                  {vorwaertsStopp, 1974, "0"},
                  {vorwaertsStopp, 1994, "1"}};
    for (const auto& fall : faelle) {
        EXPECT_EQ(klasseFuer(fall.geburtsjahr, false, leer, fall.liste).KlassenNr, fall.nr)
            << "born " << fall.geburtsjahr;
        EXPECT_EQ(klasseFuer(fall.geburtsjahr, true, fall.liste, leer).KlassenNr, fall.nr)
            << "born " << fall.geburtsjahr;
    }
}

TEST(Feldhelfer, OrdnerVonPfad)
{
    pruefeTabelle(OrdnerVonPfad, {{"/home/verein/export/a_V_1.csv", "/home/verein/export/"},
                                  {"/home/jäger/größe.csv", "/home/jäger/"},
                                  {"a/b/", "a/b/"},
                                  {"/", "/"},
                                  {"b.csv", ""},
                                  {"", ""}});
}
