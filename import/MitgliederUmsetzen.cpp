#include "import/MitgliederUmsetzen.h"

#include "clubdb/DeferredIndexes.h"
#include "import/MitgliedSpeichern.h"
#include "import/Mitgliedsdaten.h"
#include "import/Personenindex.h"
#include "import/Schrittdatenbank.h"
#include "import/Zeilenlauf.h"
#include "text/Utf8.h"

#include <memory>

namespace importer {
namespace {

class Mitgliederwerkzeuge
{
public:
    // neueDatenbank: the step began on a club database without persons and memberships and
    // builds their indexes after it; all it finds in the file it stored itself.
    Mitgliederwerkzeuge(clubdb::Connection& db, const Schrittkontext& kontext, bool neueDatenbank)
        : m_db(db)
        , m_verfahren(kontext.suchverfahren)
        , m_neueDatenbank(neueDatenbank)
        , vereine(db, kontext)
    {
        // Without indexes to keep, the step only adds rows at the ends of its tables: a few
        // pages in memory serve it as well as many.
        if (m_neueDatenbank && m_verfahren == Suchverfahren::Index)
            m_db.execute("PRAGMA cache_size = -8192");
        abfragen();
    }

    // The person searches, read anew from the file after verworfen(). Throws DbError.
    Mitgliederabfragen& abfragen()
    {
        if (!m_abfragen) {
            if (m_verfahren == Suchverfahren::Index)
                m_abfragen = std::make_unique<Personenindex>(m_db, m_neueDatenbank);
            else
                m_abfragen = std::make_unique<Mitgliederabfragen>(m_db);
        }
        return *m_abfragen;
    }

    // The persons of the lines given up are gone from the file: the index must forget them. It
    // is read again when the next line needs it, so that an index that cannot be read then is
    // that line's failure, and no later line finds a person that the file no longer holds.
    void verworfen() { m_abfragen.reset(); }

private:
    clubdb::Connection& m_db;
    Suchverfahren m_verfahren;
    bool m_neueDatenbank;
    std::unique_ptr<Mitgliederabfragen> m_abfragen;

public:
    Vereinssuche vereine;
};

// Builds the indexes that the step deferred; the one place that tells when they cannot be built.
// The club database then lacks them and is not finished: the user learns why with the engine's
// number and description, and the run counts it as incomplete.
void indizesAnlegen(clubdb::DeferredIndexes& indizes, const Schrittkontext& kontext)
{
    try {
        indizes.build(kontext.vdbPfad);
    } catch (const clubdb::DbError& e) {
        kontext.fragen.inform("Fehler", "Die Indizes der Vereinsdatenbank konnten nicht angelegt werden.\r\n" +
                                            std::to_string(e.number()) + " ; " + e.description());
        kontext.vollstaendigkeit.datenbankNichtFertig(e);
    }
}

} // namespace

std::int32_t MitgliederUmsetzen(const Schrittkontext& kontext, const std::string& dateiname)
{
    kontext.protokoll("\r\nUmsetzen der Mitgliederdaten");
    const int bezugsjahr = kontext.uhr().year();
    Zeilenlauf lauf(kontext, Anzeige::Mitglieder);
    if (!lauf.oeffnen(dateiname))
        return 0;

    // In a new club database the indexes of persons and memberships are built after the step
    // (see clubdb/DeferredIndexes.h). The person index knows every membership then; the plain
    // queries search the memberships by person in the file until the step ends.
    const std::vector<std::string> gebraucht = kontext.suchverfahren == Suchverfahren::Index
                                                   ? std::vector<std::string>()
                                                   : std::vector<std::string>{"IdxSchID"};
    clubdb::DeferredIndexes indizes =
        clubdb::DeferredIndexes::defer(kontext.vdbPfad, {"Schuetzendaten", "Mitgliedschaft"}, gebraucht);
    Schrittdatenbank<Mitgliederwerkzeuge> db(kontext.vdbPfad, kontext, !indizes.empty());
    std::int32_t angelegt = 0;
    std::string zeile;
    while (lauf.naechsteZeile(zeile)) {
        std::string problemtext = Problemkopf(lauf.gelesen(), zeile);
        Mitgliedszeile z = MitgliedszeileAuswerten(zeile, kontext.definitionen, bezugsjahr);
        problemtext += z.gruende;
        bool problem = !z.gruende.empty();

        const std::string vereinsnummer = text::trim(z.vereinsnummer);
        if (vereinsnummer.empty()) {
            // An empty number would find every club; such a line is never stored.
            problemtext += "\t- Vereinsnummer fehlt, die Zeile wird nicht gespeichert!\r\n";
            problem = true;
        } else {
            try {
                Mitgliederwerkzeuge& werkzeuge = db.werkzeuge();
                if (const auto verein = werkzeuge.vereine.suchen(vereinsnummer)) {
                    z.daten.vereinsKey = *verein;
                    const Speicherergebnis ergebnis =
                        MitgliedSpeichern(z.daten, z.vereinsnummer, werkzeuge.abfragen(), werkzeuge.vereine,
                                          kontext.log != nullptr, kontext.uhr(), problemtext);
                    angelegt += ergebnis.angelegt;
                    problem = problem || ergebnis.gemeldet;
                    if (ergebnis.speicherfehler)
                        lauf.speicherfehler(*ergebnis.speicherfehler);
                } else {
                    problemtext += "\t- Die Vereinsnummer " + vereinsnummer +
                                   " konnte in der Vereinsdatenbank nicht gefunden werden!\r\n";
                    problem = true;
                }
            } catch (const clubdb::DbError& e) {
                problemtext += "\t- Datenbankfehler: " + e.description() + "\r\n";
                problem = true;
                if (e.storageFailure())
                    lauf.speicherfehler(e);
            }
        }

        lauf.zeileFertig(problem, problemtext, angelegt);
        if (db.zeileFertig(lauf, angelegt))
            db.werkzeuge().verworfen();
    }
    db.abschliessen(lauf, angelegt, kontext.fragen, "Mitgliederdaten");
    indizesAnlegen(indizes, kontext);

    kontext.protokoll(std::to_string(lauf.gelesen()) + " Zeilen eingelesen, " + std::to_string(angelegt) +
                      " Schützen angelegt");
    kontext.protokoll("Mitgliedervidazerierung abgeschlossen\r\n");
    return lauf.problemzeilen();
}

} // namespace importer
