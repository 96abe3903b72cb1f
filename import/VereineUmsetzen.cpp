#include "import/VereineUmsetzen.h"

#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "import/Feldhelfer.h"
#include "import/Schrittdatenbank.h"
#include "import/Vereinssuche.h"
#include "import/Zeilenlauf.h"
#include "text/Utf8.h"

#include <array>

namespace importer {
namespace {

// Cut to n characters, then trimmed.
std::string gekuerzt(std::string_view s, std::size_t n)
{
    return text::trim(text::left(s, n));
}

// Every stored text is the trimmed value followed by exactly one blank, so that no text field
// of the club database ever receives an empty text, and the competition program, which trims
// what it reads, finds the value it shows.
std::string gespeichert(const std::string& wert)
{
    return text::trim(wert) + " ";
}

struct Vereinswerkzeuge
{
    Vereinssuche suche;
    clubdb::RecordInserter verein;

    Vereinswerkzeuge(clubdb::Connection& db, const Schrittkontext& kontext)
        : suche(db, kontext)
        , verein(db, "Vereinsliste",
                 {"Ort", "Vereinsname", "VereinsAbk", "Vorsitzender", "GName", "GStraße", "GPlz", "GOrt", "GTel",
                  "GeMail", "GHomePage", "AName", "AFunktion", "AStraße", "APlz", "AOrt", "ATel", "AeMail", "VNummer",
                  "V_update"})
    {
    }
};

} // namespace

Vereinswerte VereinszeileAuswerten(std::string_view zeile)
{
    std::string rest(zeile);
    std::array<std::string, 20> spalte; // spalte[1] to spalte[19]; column 1 is not used
    for (std::size_t i = 1; i < spalte.size(); ++i)
        spalte[i] = NaechstesFeld(rest);

    Vereinswerte w;
    const Vereinsnummer nummer = VereinsnummerUmsetzen(spalte[2]);
    // A number with blanks at its edges is the same club: stored, searched and reported trimmed.
    w.nummer = text::trim(nummer.nummer);
    w.verbandsKuerzel = nummer.verbandsKuerzel;
    const bool verband = !w.verbandsKuerzel.empty();

    w.name = gekuerzt(LeerzeichenBereinigen(spalte[3]), 71);
    w.abkuerzung = verband ? text::left(w.nummer, 2) : gekuerzt(LeerzeichenBereinigen(spalte[4]), 25);

    const bool vorsitz = spalte[5].find("Vorsitzend") != std::string::npos;
    const std::string familie = text::trim(LeerzeichenBereinigen(spalte[6]));
    const std::string person = LeerzeichenBereinigen(text::trim(spalte[7] + " " + LeerzeichenBereinigen(spalte[6])));
    if (vorsitz) {
        std::string vorsitzender = text::trim(person);
        if (vorsitzender.find(familie) == std::string::npos)
            vorsitzender += " " + familie;
        w.vorsitzender = text::left(vorsitzender, 41);
        w.kontaktName = w.vorsitzender;
    } else {
        w.kontaktName = text::left(text::trim(person), 41);
    }

    std::string strasse = LeerzeichenBereinigen(spalte[8]);
    if (!text::isBlank(strasse))
        strasse += " ";
    w.strasse = text::left(strasse + text::trim(spalte[9]), 41);
    w.plz = gekuerzt(spalte[10], 11);
    w.ort = verband ? w.verbandsKuerzel : gekuerzt(spalte[11], 41);
    w.vereinsort = gekuerzt(spalte[19], 41);
    if (text::isBlank(w.vereinsort))
        w.vereinsort = w.ort;
    w.telefon = gekuerzt(TelefonNormieren(spalte[12]), 41);
    w.eMail = gekuerzt(spalte[16], 61);
    w.homepage = gekuerzt(spalte[17], 61);
    return w;
}

std::int32_t VereineUmsetzen(const Schrittkontext& kontext, const std::string& dateiname)
{
    kontext.protokoll("Umsetzen der Vereinsdaten");
    Zeilenlauf lauf(kontext, Anzeige::Vereine);
    if (!lauf.oeffnen(dateiname))
        return 0;

    Schrittdatenbank<Vereinswerkzeuge> db(kontext.vdbPfad, kontext);

    std::int32_t angelegt = 0;
    std::string zeile;
    while (lauf.naechsteZeile(zeile)) {
        std::string problemtext = Problemkopf(lauf.gelesen(), zeile);
        bool problem = false;
        const auto grund = [&](const std::string& text) {
            problemtext += text;
            problem = true;
        };

        const Vereinswerte w = VereinszeileAuswerten(zeile);
        if (w.nummer.empty())
            grund(" - Vereinsnummer fehlt");
        if (w.name.empty())
            grund(" - Vereinsname lang fehlt");
        if (w.abkuerzung.empty())
            grund(" - Vereinsabkürzung fehlt");
        if (w.vereinsort.empty())
            grund(" - Vereinsort fehlt");

        if (!text::isBlank(w.name) && !text::isBlank(w.abkuerzung) && !text::isBlank(w.vereinsort)) {
            try {
                Vereinswerkzeuge& werkzeuge = db.werkzeuge();
                // The test for a club stored twice is a report, not a condition for storing:
                // when it fails, the line says so and the club is stored all the same.
                try {
                    if (!text::isBlank(w.nummer) && werkzeuge.suche.suchen(w.nummer))
                        grund(" - Vereinsnummer " + w.nummer + " bereits eingetragen!");
                } catch (const clubdb::DbError& e) {
                    grund(" - Vereinsnummer " + w.nummer + " konnte nicht geprüft werden: " + e.description());
                }
                const std::string leer = " ";
                const std::string vnummer = gespeichert(w.nummer);
                const std::int64_t key =
                    werkzeuge.verein.insert({gespeichert(w.vereinsort), gespeichert(w.name), gespeichert(w.abkuerzung),
                                gespeichert(w.vorsitzender), gespeichert(w.kontaktName), gespeichert(w.strasse),
                                gespeichert(w.plz), gespeichert(w.ort), gespeichert(w.telefon), gespeichert(w.eMail),
                                gespeichert(w.homepage), leer, leer, leer, leer, leer, leer, leer,
                                vnummer, true});
                werkzeuge.suche.gespeichert(key, vnummer);
                ++angelegt;
            } catch (const clubdb::DbError& e) {
                // A club that could not be stored is a problem of its line, never counted as stored.
                grund(" - Verein konnte nicht gespeichert werden: " + e.description());
                if (e.storageFailure())
                    lauf.speicherfehler(e);
            }
        } else {
            grund("\r\n\t - Mindestangaben fehlen, Daten können nicht gespeichert werden");
        }

        lauf.zeileFertig(problem, problemtext, angelegt);
        if (db.zeileFertig(lauf, angelegt))
            db.werkzeuge().suche.verworfen(); // the clubs of the lost lines are gone from the file
    }
    db.abschliessen(lauf, angelegt, kontext.fragen, "Vereinsdaten");

    kontext.protokoll(std::to_string(lauf.gelesen()) + " Zeilen eingelesen, " + std::to_string(angelegt) +
                      " Vereine angelegt");
    kontext.protokoll("Vereinsvidazerierung abgeschlossen\r\n");
    return lauf.problemzeilen();
}

} // namespace importer
