// The cleaning of a members-file line on any text: it must never throw or crash, and every
// value it hands to the person matching must fit its field of the club database together with
// the blank that every stored text gets.

#include "Pruefen.h"

#include "import/Mitgliedsdaten.h"
#include "text/Windows1252.h"

#include <cstdint>
#include <string>

namespace {

definitions::Definitionen klassen()
{
    using definitions::Altersklasse;
    definitions::Definitionen d;
    const Altersklasse herren{"Herrenklasse", "10", 21, 45, false, 0};
    const Altersklasse senioren{"Seniorenklasse", "12", 46, 99, false, -1};
    const Altersklasse damen{"Damenklasse", "20", 21, 45, true, 0};
    const Altersklasse jugend{"Jugend", "40", 0, 20, false, 3};
    d.klassen.eintraege = {herren, senioren, damen, jugend};
    d.klassen.anzahl = 4;
    d.maenner.eintraege = {jugend, herren, senioren};
    d.maenner.anzahl = 3;
    d.frauen.eintraege = {damen};
    d.frauen.anzahl = 1;
    return d;
}

bool passt(const std::string& wert, std::size_t feldgroesse)
{
    return text::length(wert) + 1 <= feldgroesse;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const definitions::Definitionen definitionen = klassen();
    if (size == 0)
        return 0;
    // The first byte chooses the form: the line as the reader delivers it (decoded, valid
    // UTF-8), or raw bytes, on which the cleaning must be total as well.
    const std::string_view roh(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool dekodiert = data[0] % 2 == 0;
    const std::string zeile = dekodiert ? text::decodeWindows1252(roh) : std::string(roh);
    const int bezugsjahr = 1900 + data[0];

    const importer::Mitgliedszeile z = importer::MitgliedszeileAuswerten(zeile, definitionen, bezugsjahr);
    const importer::Mitgliedsdaten& d = z.daten;
    pruefen(passt(d.titel, 21) && passt(d.nachname, 21) && passt(d.vorname, 21), "Namen passen in ihre Felder");
    pruefen(passt(d.mitgliedsnummer, 21), "Mitgliedsnummer passt");
    pruefen(passt(d.strasse, 42) && passt(d.plz, 12) && passt(d.ort, 42) && passt(d.telefon, 62), "Anschrift passt");
    pruefen(passt(d.hochmeldung, 22) && !d.hochmeldung.empty(), "Hochmeldung passt");
    if (dekodiert) {
        for (const std::string* wert : {&z.vereinsnummer, &d.titel, &d.nachname, &d.vorname, &d.mitgliedsnummer,
                                        &d.strasse, &d.plz, &d.ort, &d.telefon, &z.gruende})
            pruefen(gueltigesUtf8(*wert), "gekürzt wird nur an Zeichengrenzen");
    }
    return 0;
}
