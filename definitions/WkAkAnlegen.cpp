#include "definitions/Anlegen.h"
#include "definitions/Dateiaufbau.h"
#include "definitions/Meldungen.h"
#include "definitions/WkAk.h"

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/TableDefinition.h"
#include "text/Utf8.h"

#include <filesystem>

namespace definitions {

Anlegeergebnis DateiAnlegen(const std::string& pfad, const Umgebung& umgebung)
{
    bool dateiEntstanden = false;
    try {
        clubdb::Connection datei = clubdb::Connection::create(pfad);
        dateiEntstanden = true;
        clubdb::createTable(datei, disziplinenTabelle());
        clubdb::createTable(datei, altersklassenTabelle());
        datei.close();
        return Anlegeergebnis::Angelegt;
    } catch (const clubdb::DbError& fehler) {
        // A file with only one of the tables would be opened by the competition program as
        // if it were complete; a failed creation leaves no file behind.
        if (dateiEntstanden) {
            std::error_code ec;
            std::filesystem::remove(pfad, ec);
        }
        if (fehler.number() == clubdb::fehler::kDateiGesperrt) {
            umgebung.fragen.inform(meldung::kZugriffsfehler,
                                   std::string("Die Voreinstellung für Disziplinen und Klassen konnte nicht geöffnet "
                                               "werden.") +
                                       meldung::kZeilenende +
                                       "Bitte stellen sie sicher, dass das Verzeichnis und die Datei " + pfad +
                                       " für den Vollzugriff freigegeben sind!");
            return Anlegeergebnis::Gesperrt;
        }
        umgebung.fragen.inform(meldung::kFehler, "Fehler beim Überprüfen / Anlegen der Datei " + pfad +
                                                     meldung::kZeilenende + std::to_string(fehler.number()) + " ; " +
                                                     fehler.description());
        return Anlegeergebnis::Fehlgeschlagen;
    }
}

Ausgang WkAkAnlegen(const std::string& pfad, const Umgebung& umgebung)
{
    const std::string ziel =
        text::isBlank(pfad) ? (std::filesystem::path(umgebung.anwendungsdatenOrdner) / "WkAk.zrv").string() : pfad;
    return DateiAnlegen(ziel, umgebung) == Anlegeergebnis::Gesperrt ? Ausgang::ProgrammBeenden : Ausgang::Weiter;
}

} // namespace definitions
