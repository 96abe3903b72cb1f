#include "clubdb/VdbInhalt.h"

#include "clubdb/DbError.h"
#include "clubdb/Statement.h"
#include "text/Utf8.h"

#include <string_view>

namespace clubdb {
namespace {

std::optional<std::int64_t> zeilen(Connection& db, std::string_view abfrage)
{
    try {
        Statement zaehlen(db, "SELECT count(*) FROM (" + std::string(abfrage) + ")");
        return zaehlen.step() ? std::optional(zaehlen.integer(0)) : std::nullopt;
    } catch (const DbError&) {
        return std::nullopt;
    }
}

std::optional<std::int64_t> hochmeldungen(Connection& db)
{
    try {
        Statement abfrage(db, "SELECT M_Hochmeld FROM Schuetzendaten ");
        std::int64_t anzahl = 0;
        while (abfrage.step()) {
            if (abfrage.isNull(0))
                continue;
            if (text::trim(abfrage.text(0)) != "0")
                ++anzahl;
        }
        return anzahl;
    } catch (const DbError&) {
        return std::nullopt;
    }
}

} // namespace

VdbInhalt VdbInhaltZaehlen(const std::string& pfad)
{
    VdbInhalt inhalt;
    try {
        Connection db = Connection::open(pfad, OpenMode::ReadOnly);
        // Every count reads its table from the start to the end once: pages kept in memory are
        // never read again, and a few of them stay in the processor's caches.
        db.execute("PRAGMA cache_size = -2048");
        inhalt.vereine = zeilen(db, "SELECT VereinsID FROM Vereinsliste");
        inhalt.schuetzen = zeilen(db, "SELECT M_ID FROM Schuetzendaten");
        inhalt.gesMitglieder = zeilen(db, "SELECT Mgl_ID FROM Mitgliedschaft");
        inhalt.hochmeldungen = hochmeldungen(db);
        inhalt.zweitmitgliedschaften = zeilen(db, "SELECT Mgl_ID FROM Mitgliedschaft where Mgl_Stamm = false");
        inhalt.startrechte = zeilen(db, "SELECT Stb_ID FROM Startberecht");
    } catch (const DbError&) {
        // An unreadable club database shows "?" and the run goes on.
    }
    return inhalt;
}

std::string Anzeigetext(const std::optional<std::int64_t>& zahl)
{
    return zahl ? std::to_string(*zahl) : std::string("?");
}

} // namespace clubdb
