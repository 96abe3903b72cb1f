#include "import/Mitgliedsdaten.h"

#include "import/Feldhelfer.h"
#include "text/Utf8.h"

#include <array>

namespace importer {
namespace {

// Academic titles that the member administration writes in front of names.
bool nenntTitel(std::string_view praefix)
{
    for (const char* titel : {"Dr.", "Ing.", "Prof.", "med."}) {
        if (praefix.find(titel) != std::string_view::npos)
            return true;
    }
    return false;
}

// A membership number of the export: digits with hyphens, or for a member registered with an
// association "99" + the association's two-digit code + its number.
std::string mitgliedsnummerUmsetzen(std::string_view spalte)
{
    std::string n = BindestricheEntfernen(spalte);
    if (text::length(n) > 20)
        n = text::right(n, 20);
    if (text::left(n, 2) == "99")
        n = VerbandsKuerzel(text::mid(n, 3, 2)) + text::mid(n, 2);
    return VereinsNummerFormatieren(n);
}

} // namespace

std::string KlassenNrSuchen(std::string_view wert, const definitions::Klassentabelle& klassen)
{
    if (text::isBlank(wert))
        return "0";
    const std::size_t semikolon = wert.find(';');
    const std::string kandidat =
        semikolon != std::string_view::npos ? std::string(wert.substr(0, semikolon)) : text::trim(wert);
    const auto anzahl = static_cast<std::size_t>(std::max<int>(klassen.anzahl, 0));
    for (std::size_t i = 0; i < anzahl && i < klassen.eintraege.size(); ++i) {
        if (klassen.eintraege[i].KlassenNr == kandidat)
            return kandidat;
    }
    return "0";
}

Namensergebnis NameBereinigen(std::string_view wert)
{
    Namensergebnis ergebnis;
    std::string name(wert);
    const std::size_t punkt = name.rfind(". ");
    if (punkt != std::string::npos) {
        const std::string praefix = name.substr(0, punkt + 1);
        if (nenntTitel(praefix)) {
            ergebnis.titel = text::left(praefix, 20);
            name = name.substr(punkt + 2);
        }
    }
    name = SonderzeichenEntfernen(LeerzeichenBereinigen(name));
    if (text::length(name) > 20) {
        // Cut at the last blank or hyphen that keeps at least five characters, so a double name
        // loses its last part instead of being broken inside a word.
        std::string gekuerzt = text::left(name, 20);
        for (std::size_t p = 21; p >= 6; --p) {
            const std::string zeichen = text::mid(name, p - 1, 1);
            if (zeichen == " " || zeichen == "-") {
                gekuerzt = text::left(name, p - 1);
                break;
            }
        }
        name = gekuerzt;
        ergebnis.gekuerzt = true;
    }
    ergebnis.name = name;
    return ergebnis;
}

Mitgliedszeile MitgliedszeileAuswerten(std::string_view zeile, const definitions::Definitionen& definitionen,
                                       int bezugsjahr)
{
    Mitgliedszeile z;
    Mitgliedsdaten& d = z.daten;

    std::string_view rest = zeile;
    std::array<std::string, 21> spalte; // spalte[1] to spalte[20]
    for (std::size_t i = 1; i <= 19; ++i) {
        const std::string_view feld = NaechstesFeld(rest);
        spalte[i] = i >= 7 ? text::trimmedView(feld) : feld;
        if (i == 3)
            rest = text::trimmedView(rest);
    }
    if (!rest.empty()) {
        const std::size_t komma = rest.find(',');
        spalte[20] = komma != std::string_view::npos ? rest.substr(0, komma) : text::trimmedView(rest);
    }

    z.vereinsnummer = VereinsnummerUmsetzen(spalte[2]).nummer;
    d.mitgliedsnummer = mitgliedsnummerUmsetzen(spalte[3]);
    d.eintritt = TextZuDatum(spalte[4]);
    d.geburtsdatum = TextZuDatum(spalte[9]);

    // Last name first: a title found in the first-name column wins.
    const auto name = [&](const std::string& wert, std::string& ziel, const char* grund) {
        const Namensergebnis ergebnis = NameBereinigen(wert);
        ziel = ergebnis.name;
        if (!ergebnis.titel.empty())
            d.titel = ergebnis.titel;
        if (ergebnis.gekuerzt)
            z.gruende += grund;
    };
    name(spalte[7], d.nachname, "\t- Nachname zu lang -> gekürzt\r\n");
    name(spalte[8], d.vorname, "\t- Vorname zu lang -> gekürzt\r\n");

    d.weiblich = text::toUpper(spalte[10]) == "W";

    std::string hochmeldung = "0";
    if (!spalte[11].empty()) {
        hochmeldung = KlassenNrSuchen(spalte[11], definitionen.klassen);
        if (hochmeldung != "0" &&
            AltersklasseErmitteln(d.geburtsdatum, d.weiblich, definitionen.frauen, definitionen.maenner, bezugsjahr)
                    .KlassenNr == hochmeldung)
            hochmeldung = "0";
    }
    d.hochmeldung = text::left(hochmeldung.empty() ? "0" : hochmeldung, 21);

    d.strasse = text::left(text::trim(LeerzeichenBereinigen(spalte[16]) + " " + spalte[17]), 41);
    d.plz = text::left(spalte[18], 11);
    d.ort = text::left(LeerzeichenBereinigen(spalte[19]), 41);
    d.telefon = text::left(TelefonNormieren(spalte[20]), 61);
    return z;
}

} // namespace importer
