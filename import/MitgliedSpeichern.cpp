#include "import/MitgliedSpeichern.h"

#include "clubdb/DbError.h"
#include "text/Utf8.h"

namespace importer {

Speicherergebnis MitgliedSpeichern(const Mitgliedsdaten& m, std::string_view vereinsnummer,
                                   Mitgliederabfragen& abfragen, Vereinssuche& vereine, bool logEin,
                                   const clubdb::Date& jetzt, std::string& problemtext)
{
    Speicherergebnis ergebnis;
    const bool stamm = IstStammmitgliedschaft(m.mitgliedsnummer, vereinsnummer);
    try {
        std::vector<Kandidat> kandidaten;
        for (Kandidat& k : abfragen.Kandidatensuche(m)) {
            k.punkte = Punktzahl(k, m);
            if (k.punkte > 3)
                kandidaten.push_back(std::move(k));
        }
        KandidatenSortieren(kandidaten);
        if (logEin) {
            const std::string bericht = Doppelbericht(kandidaten, m);
            if (!bericht.empty()) {
                problemtext += bericht;
                ergebnis.gemeldet = true;
            }
        }

        // Whether the person is stored already rests on this search alone, not on the reports.
        std::int64_t person = 0;
        if (const auto gefunden = abfragen.Personensuche(m))
            person = *gefunden;
        else
            person = abfragen.PersonAnlegen(m);

        if (const auto mitgliedschaft = abfragen.MitgliedschaftSuchen(m.vereinsKey, person)) {
            abfragen.EintrittSetzen(*mitgliedschaft, m.eintritt);
        } else {
            abfragen.MitgliedschaftAnlegen(person, m.vereinsKey, m.mitgliedsnummer, m.eintritt, stamm);
            ergebnis.angelegt = 1;
        }

        if (!stamm) {
            // A second membership: the first six characters of the membership number name the
            // home club, where the person needs a home membership too.
            const std::string stammnummer = text::trim(text::left(m.mitgliedsnummer, 6));
            const auto stammverein = stammnummer.empty() ? std::nullopt : vereine.suchen(stammnummer);
            if (!stammverein) {
                if (logEin) {
                    problemtext += "\t- Der Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden!\r\n";
                    ergebnis.gemeldet = true;
                }
            } else if (!abfragen.MitgliedschaftSuchen(*stammverein, person)) {
                abfragen.MitgliedschaftAnlegen(person, *stammverein, m.mitgliedsnummer, jetzt, true);
                ++ergebnis.angelegt;
            }
        }
    } catch (const clubdb::DbError& e) {
        // Nothing after a failed step may act on its missing result.
        problemtext += "\t- Datenbankfehler: " + e.description() + "\r\n";
        ergebnis.gemeldet = true;
        if (e.storageFailure())
            ergebnis.speicherfehler = e;
    }
    return ergebnis;
}

} // namespace importer
