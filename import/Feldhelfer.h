#pragma once

// The small text, number and date rules that every importer of the member
// administration's export files shares: taking a line apart, turning the export's club and
// membership numbers into the form the club database stores ("04-001", "04-001-0027"),
// tidying names, phone numbers and dates, and finding a person's age class.
//
// All of them are pure functions of their arguments. Lengths and positions count
// characters (see text/Utf8.h).

#include "clubdb/Date.h"
#include "definitions/Definitionen.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace importer {

// Takes the next comma-separated field off the front of the record rest. Export fields have
// no quoting: a double quote is an ordinary character and a field never holds a comma.
// Taking a field from an empty rest gives an empty field, so the missing columns at the end
// of a short line read as empty.
std::string NaechstesFeld(std::string& rest);
// The same on a view of the line, which moves past the field instead of copying the rest.
std::string_view NaechstesFeld(std::string_view& rest);

struct Vereinsnummer
{
    std::string nummer;         // club number of the club database, "04-001" or "BY-004"
    std::string verbandsKuerzel; // set only when the number belongs to an association
};

// The export writes club numbers as "04-001-0027" or as digits; an association (a state
// federation rather than a club) has a number beginning with "99" and is stored under its
// two-letter abbreviation: «99000004» gives «BY-004».
Vereinsnummer VereinsnummerUmsetzen(std::string_view spalte);

// Removes every "-".
std::string BindestricheEntfernen(std::string_view s);

// Removes full stops, colons, double quotes, commas and slashes, and writes "*" as "x":
// «L.G. 3*20/40» gives «LG 3x2040».
std::string SonderzeichenEntfernen(std::string_view s);

// The two-letter abbreviation of a state association's two-digit code ("04" gives "BY"),
// "Ukn" for an empty or unknown code. The code is compared exactly: «4» is unknown.
std::string VerbandsKuerzel(std::string_view code);

// Digits only, with one blank after the first group: «0821 / 123-45» gives «0821 12345».
std::string TelefonNormieren(std::string_view telefon);

// A value for a LIKE pattern: every "'" becomes "_", then blanks at both ends are removed.
std::string LikeMuster(std::string_view s);

// Removes the blanks around hyphens of double names and halves runs of blanks:
// «Schütz - Verein» gives «Schütz-Verein».
std::string LeerzeichenBereinigen(std::string_view s);

// Club number from digits: «12027» gives «12-027», «1027» gives «01-027», fewer than three
// characters give an empty text.
std::string KurzNummerFormatieren(std::string_view ziffern);

// Membership number from digits: «40010027» gives «04-001-0027», fewer than four characters
// give an empty text.
std::string VereinsNummerFormatieren(std::string_view ziffern);

// The number at the start of a text: decimal digits, blanks skipped anywhere, no sign and no
// decimal point; reading stops at the first other character. «12» and « 1 2» give 12, «7a»
// gives 7, a text without digits gives 0. Values too large for 64 bits saturate.
std::int64_t ZahlAmAnfang(std::string_view s);

// A date of the export, day.month.year, with the carry of the calendar: «24.12.1961»,
// «1.2.85» (two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999), «1985» (1 January),
// «31.02.2000» (2 March). A day or month beyond 16 bits falls back to 1, a year to 1990;
// what gives no valid date is the zero date 30.12.1899.
clubdb::Date TextZuDatum(std::string_view s);

struct Altersklassenergebnis
{
    std::string KlassenNr; // "0" when no class fits
    std::string Name;      // "?" when no class fits
};

// The age class of a person born on geburtsdatum in the year bezugsjahr (the year in which
// the members import started), from the women's or men's class list. The lists are sorted
// by rank, largest first: the search runs backward over the entries of rank 0 and less,
// then forward over those of rank 0 and more.
Altersklassenergebnis AltersklasseErmitteln(const clubdb::Date& geburtsdatum, bool weiblich,
                                            const definitions::Klassentabelle& frauen,
                                            const definitions::Klassentabelle& maenner, int bezugsjahr);

// The folder part of a path, up to and including its last "/"; empty when there is none.
std::string OrdnerVonPfad(std::string_view pfad);

} // namespace importer
