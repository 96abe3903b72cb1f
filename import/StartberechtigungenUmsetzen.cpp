#include "import/StartberechtigungenUmsetzen.h"

#include "import/Feldhelfer.h"
#include "import/Schrittdatenbank.h"
#include "import/Startrechteabfragen.h"
#include "import/Zeilenlauf.h"
#include "text/LineReader.h"
#include "text/Utf8.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace importer {
namespace {

// A membership number of the start-rights file. Members registered with an association carry
// "99" + a code whose last two digits name the association.
std::string mitgliedsnummerUmsetzen(std::string_view spalte)
{
    std::string n = BindestricheEntfernen(spalte);
    if (text::left(n, 2) == "99") {
        const std::string danach = text::mid(n, 2);
        n = VerbandsKuerzel(text::right(text::left(danach, 3), 2)) + danach;
    }
    return VereinsNummerFormatieren(n);
}

// The 1.58 disciplines are exported with their variant written in many ways ("1.58o",
// "1.58-O", "1.58 o"); the definitions know them as "1.58 O" and "1.58 G".
std::string spoNrUmsetzen(const std::string& spoNr)
{
    if (text::left(spoNr, 4) != "1.58")
        return spoNr;
    const std::string letztes = text::toUpper(text::right(spoNr, 1));
    if (letztes == "O")
        return "1.58 O";
    if (letztes == "G")
        return "1.58 G";
    return spoNr;
}

std::optional<std::string> ersteZeile(const std::string& pfad)
{
    try {
        text::LineReader leser(pfad);
        std::string zeile;
        if (leser.readLine(zeile))
            return zeile;
    } catch (const std::system_error&) {
    }
    return std::nullopt;
}

// What a line of the start-rights file ends with: a start right stored, or its one reason.
struct Zeilenergebnis
{
    bool gespeichert = false;
    std::string grund; // empty when stored
};

Zeilenergebnis startrechtSpeichern(const Startrechtszeile& z, const Schrittkontext& kontext,
                                   Startrechteabfragen& abfragen)
{
    if (!z.vollstaendig)
        return {false, "\t- Zeile unvollständig\r\n"};
    if (z.zweitverein == z.stammverein && z.zweitnummer == z.stammnummer)
        return {false, "Vereinsnummern sind gleich! Dies ist nur bei Behindertenwahl möglich!!!\r\n"};
    // An empty number would match every membership of a club: such a line is never stored.
    if (z.stammnummer.empty() || z.zweitnummer.empty())
        return {false, "\t- Mitgliedsnummer fehlt\r\n"};

    const auto stammverein = z.stammverein.empty() ? std::nullopt : abfragen.vereine.suchen(z.stammverein);
    if (!stammverein)
        return {false, "Stammverein nicht gefunden!\r\n"};
    const auto zweitverein = z.zweitverein.empty() ? std::nullopt : abfragen.vereine.suchen(z.zweitverein);
    if (!zweitverein)
        return {false, "Zweitverein nicht gefunden!\r\n"};

    std::int64_t zweitmitgliedschaft = 0;
    if (const auto stamm = abfragen.MitgliedschaftSuchen(z.stammnummer, *stammverein)) {
        // The home club's membership decides the person: mark every membership of the person,
        // and find or add the one in the second club.
        for (const auto& [m, gespeichert] : abfragen.MitgliedschaftenDerPerson(stamm->person)) {
            const bool imStammverein = m.verein == *stammverein;
            // Storing the flag it holds already would change no byte of the club database.
            if (gespeichert != imStammverein)
                abfragen.StammSetzen(m.mitgliedschaft, imStammverein);
            if (!imStammverein && m.verein == *zweitverein)
                zweitmitgliedschaft = m.mitgliedschaft;
        }
        if (zweitmitgliedschaft == 0)
            zweitmitgliedschaft = abfragen.MitgliedschaftAnlegen(stamm->person, *zweitverein, z.zweitnummer,
                                                                 kontext.uhr(), false);
    } else {
        const auto zweit = abfragen.MitgliedschaftSuchen(z.zweitnummer, *zweitverein);
        if (!zweit)
            return {false, "\t- Zweitmitgliedschaft nicht gefunden\r\n"};
        abfragen.StammSetzen(zweit->mitgliedschaft, false);
        zweitmitgliedschaft = zweit->mitgliedschaft;
        abfragen.MitgliedschaftAnlegen(zweit->person, *stammverein, z.stammnummer, kontext.uhr(), true);
    }

    std::string name;
    if (!DisziplinSuchen(kontext.definitionen.disziplinen, z.spoNr, name))
        return {false, "\t- SpO-Nr " + z.spoNr + " nicht gefunden\r\n"};
    if (text::length(z.spoNr) > 19)
        return {false, "\t- SpO-Nr " + z.spoNr + " ist zu lang\r\n"};
    abfragen.StartrechtAnlegen(zweitmitgliedschaft, z.spoNr + " ", text::trim(text::left(text::trim(name), 39)) + " ");
    return {true, ""};
}

} // namespace

bool SiebenSpalten(std::string_view ersteZeile)
{
    const std::string abZweitem = text::mid(ersteZeile, 1);
    return std::count(abZweitem.begin(), abZweitem.end(), ',') == 6;
}

Startrechtszeile StartrechtszeileAuswerten(std::string_view zeile, bool siebenSpalten)
{
    Startrechtszeile z;
    const auto kommas = std::count(zeile.begin(), zeile.end(), ',');
    z.vollstaendig = kommas >= (siebenSpalten ? 6 : 5);
    if (!z.vollstaendig)
        return z;
    std::string rest(zeile);
    NaechstesFeld(rest);
    z.stammverein = VereinsnummerUmsetzen(NaechstesFeld(rest)).nummer;
    z.stammnummer = mitgliedsnummerUmsetzen(NaechstesFeld(rest));
    if (siebenSpalten)
        NaechstesFeld(rest);
    z.zweitverein = VereinsnummerUmsetzen(NaechstesFeld(rest)).nummer;
    z.zweitnummer = mitgliedsnummerUmsetzen(NaechstesFeld(rest));
    z.spoNr = spoNrUmsetzen(text::trim(rest));
    return z;
}

bool DisziplinSuchen(const definitions::Disziplintabelle& disziplinen, std::string_view spoNr, std::string& name)
{
    for (const definitions::Disziplin& d : disziplinen.eintraege) {
        if (d.SpoNr == spoNr) {
            name = d.Name;
            return true;
        }
    }
    return false;
}

std::int32_t StartberechtigungenUmsetzen(const Schrittkontext& kontext, const std::string& dateiname)
{
    kontext.protokoll("\r\nUmsetzen der Startberechtigungen");
    Zeilenlauf lauf(kontext, Anzeige::Startberechtigungen);
    if (!lauf.oeffnen(dateiname))
        return 0;
    const bool siebenSpalten = SiebenSpalten(ersteZeile(kontext.exportOrdner + dateiname).value_or(""));

    Schrittdatenbank<Startrechteabfragen> db(kontext.vdbPfad, kontext);
    std::int32_t eingetragen = 0;
    std::string zeile;
    while (lauf.naechsteZeile(zeile)) {
        std::string problemtext = Problemkopf(lauf.gelesen(), zeile);
        Zeilenergebnis ergebnis;
        try {
            ergebnis = startrechtSpeichern(StartrechtszeileAuswerten(zeile, siebenSpalten), kontext, db.werkzeuge());
        } catch (const clubdb::DbError& e) {
            ergebnis = {false, "\t- Datenbankfehler: " + e.description() + "\r\n"};
            if (e.storageFailure())
                lauf.speicherfehler(e);
        }
        if (ergebnis.gespeichert)
            ++eingetragen;
        lauf.zeileFertig(!ergebnis.grund.empty(), problemtext + ergebnis.grund, eingetragen);
        if (db.zeileFertig(lauf, eingetragen))
            db.werkzeuge().verworfen();
    }
    db.abschliessen(lauf, eingetragen, kontext.fragen, "Startberechtigungen");

    kontext.protokoll(std::to_string(lauf.gelesen()) + " Zeilen eingelesen, " + std::to_string(eingetragen) +
                      " Startberechtigungen eingetragen");
    kontext.protokoll("Vidazerierung der Startberechtigungen abgeschlossen\r\n");
    return lauf.problemzeilen();
}

} // namespace importer
