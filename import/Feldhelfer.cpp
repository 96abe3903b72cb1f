#include "import/Feldhelfer.h"

#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

// The separators, digits, blanks and punctuation these rules look for are all ASCII. In UTF-8
// an ASCII byte is always a whole character and never part of a longer one, so scanning the
// bytes for them (and copying every other byte unchanged) is exact. Everything that counts
// characters - lengths, "the last three characters" - goes through text::.

namespace importer {

namespace {

bool istZiffer(char c)
{
    return c >= '0' && c <= '9';
}

// A day, month or year of an export date is a 16-bit number; anything larger is treated as
// unreadable and replaced by the part's default.
std::int64_t oderVorgabe(std::int64_t wert, std::int64_t vorgabe)
{
    return wert > std::numeric_limits<std::int16_t>::max() ? vorgabe : wert;
}

// Reads one part of a date ("24." of «24.12.1961»): the number before the first ".", and the
// rest of the text after it. Without a "." the part is missing, gets its default and the text
// stays whole, so «1985» is a year and «05.1985» a day and a year.
std::int64_t datumsteil(std::string_view& s, std::int64_t vorgabe)
{
    const auto punkt = s.find('.');
    if (punkt == std::string_view::npos)
        return vorgabe;
    const std::int64_t wert = ZahlAmAnfang(s.substr(0, punkt));
    s.remove_prefix(punkt + 1);
    return oderVorgabe(wert, vorgabe);
}

std::string entferneZeichen(std::string_view s, std::string_view weg)
{
    std::string ergebnis;
    ergebnis.reserve(s.size());
    for (const char c : s) {
        if (weg.find(c) == std::string_view::npos)
            ergebnis += c;
    }
    return ergebnis;
}

std::string nullenVoran(std::string t, std::size_t mindestLaenge)
{
    const std::size_t laenge = text::length(t);
    if (laenge < mindestLaenge)
        t.insert(0, mindestLaenge - laenge, '0');
    return t;
}

} // namespace

std::string NaechstesFeld(std::string& rest)
{
    std::string_view zeile(rest);
    std::string feld(NaechstesFeld(zeile));
    rest.erase(0, rest.size() - zeile.size());
    return feld;
}

std::string_view NaechstesFeld(std::string_view& rest)
{
    const auto komma = rest.find(',');
    const std::string_view feld = rest.substr(0, komma);
    rest.remove_prefix(komma == std::string_view::npos ? rest.size() : komma + 1);
    return feld;
}

Vereinsnummer VereinsnummerUmsetzen(std::string_view spalte)
{
    Vereinsnummer ergebnis;
    std::string n = BindestricheEntfernen(spalte);
    // A state association is kept in the export under "99" + its two-digit code; the club
    // database files it under the association's abbreviation instead, so that «99000004»
    // becomes «BY-004».
    if (text::left(n, 2) == "99") {
        ergebnis.verbandsKuerzel = VerbandsKuerzel(text::right(n, 2));
        n = ergebnis.verbandsKuerzel + text::right(n, 3);
    }
    ergebnis.nummer = KurzNummerFormatieren(n);
    return ergebnis;
}

std::string BindestricheEntfernen(std::string_view s)
{
    return entferneZeichen(s, "-");
}

std::string SonderzeichenEntfernen(std::string_view s)
{
    std::string ergebnis;
    ergebnis.reserve(s.size());
    for (const char c : s) {
        switch (c) {
        case '.':
        case ':':
        case '"':
        case ',':
        case '/':
            break;
        case '*':
            ergebnis += 'x'; // «3*20» shots is written «3x20»
            break;
        default:
            ergebnis += c;
        }
    }
    return ergebnis;
}

std::string VerbandsKuerzel(std::string_view code)
{
    struct Verband
    {
        std::string_view code;
        std::string_view kuerzel;
    };
    static constexpr std::array<Verband, 20> verbaende{{
        {"01", "BD"}, {"02", "BL"}, {"03", "BR"}, {"04", "BY"}, {"05", "HH"}, {"06", "HS"}, {"07", "MV"},
        {"08", "ND"}, {"09", "NS"}, {"10", "NV"}, {"11", "OP"}, {"12", "PF"}, {"13", "RH"}, {"14", "SA"},
        {"15", "SB"}, {"16", "SC"}, {"17", "ST"}, {"18", "TH"}, {"19", "WF"}, {"20", "WT"},
    }};
    for (const Verband& v : verbaende) {
        if (v.code == code)
            return std::string(v.kuerzel);
    }
    return "Ukn";
}

std::string TelefonNormieren(std::string_view telefon)
{
    if (text::isBlank(telefon))
        return {};
    // The area code stays apart from the subscriber number by one blank, whichever of "/",
    // "-" or blank the member used; everything else of the number is run together.
    std::string ergebnis;
    bool zifferGesehen = false;
    bool trennerGesetzt = false;
    for (const char c : telefon) {
        if (istZiffer(c)) {
            ergebnis += c;
            zifferGesehen = true;
        } else if ((c == '/' || c == '-' || c == ' ') && zifferGesehen && !trennerGesetzt) {
            ergebnis += ' ';
            trennerGesetzt = true;
        }
    }
    return ergebnis;
}

std::string LikeMuster(std::string_view s)
{
    // An apostrophe would end the SQL text literal; "_" matches it (and any other character)
    // in LIKE, so «O'Brien» still finds the stored person.
    std::string ergebnis(s);
    std::replace(ergebnis.begin(), ergebnis.end(), '\'', '_');
    return text::trim(ergebnis);
}

std::string LeerzeichenBereinigen(std::string_view s)
{
    if (text::length(s) < 2)
        return std::string(s);

    // Double names and club names are written «Schütz-Verein», not «Schütz - Verein»: one
    // blank on each side of a hyphen goes. One pass, so that a field of any length costs
    // no more than reading it.
    std::string ohneBindestrichLuecken;
    ohneBindestrichLuecken.reserve(s.size());
    bool nachBindestrich = false;
    for (const char c : s) {
        if (c == '-') {
            if (!ohneBindestrichLuecken.empty() && ohneBindestrichLuecken.back() == ' ')
                ohneBindestrichLuecken.pop_back();
            ohneBindestrichLuecken += c;
            nachBindestrich = true;
            continue;
        }
        if (!(c == ' ' && nachBindestrich))
            ohneBindestrichLuecken += c;
        nachBindestrich = false;
    }

    // Each blank swallows the blank right after it, then the scan moves on past the blank it
    // swallowed: a run of n blanks keeps n - n / 2 of them.
    std::string t;
    t.reserve(ohneBindestrichLuecken.size());
    bool schluckt = false;
    for (const char c : ohneBindestrichLuecken) {
        if (c == ' ' && schluckt) {
            schluckt = false;
            continue;
        }
        schluckt = c == ' ';
        t += c;
    }
    return t;
}

std::string KurzNummerFormatieren(std::string_view ziffern)
{
    // A club number is the district (two characters) and the club within it (three). Longer
    // inputs lose their front, shorter district parts get a leading zero.
    std::string t(ziffern);
    const std::size_t laenge = text::length(t);
    if (laenge < 3)
        return {};
    std::string ergebnis = "-" + text::right(t, 3);
    t = text::left(t, laenge - 3);
    if (text::length(t) == 1)
        t.insert(0, "0");
    if (text::length(t) >= 2)
        ergebnis.insert(0, text::right(t, 2));
    return ergebnis;
}

std::string VereinsNummerFormatieren(std::string_view ziffern)
{
    // A membership number is the club number (district, club) followed by the four-digit
    // member number within the club: «04-001-0027».
    std::string t(ziffern);
    const std::size_t laenge = text::length(t);
    if (laenge < 4)
        return {};
    std::string ergebnis = "-" + text::right(t, 4);
    t = nullenVoran(text::left(t, laenge - 4), 3);
    ergebnis = "-" + text::right(t, 3) + ergebnis;
    t = nullenVoran(text::left(t, text::length(t) - 3), 2);
    return text::right(t, 2) + ergebnis;
}

std::int64_t ZahlAmAnfang(std::string_view s)
{
    constexpr std::int64_t grenze = std::numeric_limits<std::int64_t>::max();
    std::int64_t wert = 0;
    for (const char c : s) {
        if (c == ' ')
            continue;
        if (!istZiffer(c))
            break;
        const int ziffer = c - '0';
        wert = wert > (grenze - ziffer) / 10 ? grenze : wert * 10 + ziffer;
    }
    return wert;
}

clubdb::Date TextZuDatum(std::string_view s)
{
    const std::int64_t tag = datumsteil(s, 1);
    const std::int64_t monat = datumsteil(s, 1);
    std::int64_t jahr = oderVorgabe(ZahlAmAnfang(s), 1990);
    // Birth dates of the export may carry two-digit years; members born before 1930 are
    // written with four digits.
    if (jahr < 30)
        jahr += 2000;
    else if (jahr < 100)
        jahr += 1900;
    return clubdb::Date::fromParts(static_cast<int>(jahr), static_cast<int>(monat), static_cast<int>(tag));
}

Altersklassenergebnis AltersklasseErmitteln(const clubdb::Date& geburtsdatum, bool weiblich,
                                            const definitions::Klassentabelle& frauen,
                                            const definitions::Klassentabelle& maenner, int bezugsjahr)
{
    const definitions::Klassentabelle& liste = weiblich ? frauen : maenner;
    // The sport counts the age a person reaches in the competition year, so the birthday
    // within the year does not matter.
    const int alter = bezugsjahr - geburtsdatum.year();
    const auto passt = [alter](const definitions::Altersklasse& k) {
        return k.KlasseVon <= alter && alter <= k.KlasseBis;
    };
    const int anzahl = std::min(static_cast<int>(liste.anzahl), static_cast<int>(liste.eintraege.size()));

    // The youth classes (rank 0 and below) stand at the end of the list and are searched
    // from the end; the adult classes (rank 0 and above) are searched from the front.
    const definitions::Altersklasse* treffer = nullptr;
    for (int i = anzahl - 1; i >= 0 && treffer == nullptr; --i) {
        const auto& k = liste.eintraege[static_cast<std::size_t>(i)];
        if (k.KlassenRang > 0)
            break;
        if (passt(k))
            treffer = &k;
    }
    for (int i = 0; i < anzahl && treffer == nullptr; ++i) {
        const auto& k = liste.eintraege[static_cast<std::size_t>(i)];
        if (k.KlassenRang < 0)
            break;
        if (passt(k))
            treffer = &k;
    }
    if (treffer == nullptr)
        return {"0", "?"};
    return {treffer->KlassenNr, treffer->Name};
}

std::string OrdnerVonPfad(std::string_view pfad)
{
    const auto trenner = pfad.rfind('/');
    if (trenner == std::string_view::npos)
        return {};
    return std::string(pfad.substr(0, trenner + 1));
}

} // namespace importer
