#include "import/Vereinssuche.h"

#include "clubdb/SqlFunctions.h"

namespace importer {

Vereinssuche::Vereinssuche(clubdb::Connection& db, const Schrittkontext& kontext)
    : m_db(db)
    , m_verzeichnis(kontext.suchverfahren == Suchverfahren::Index ? &kontext.vereine : nullptr)
    , m_abfrage(db, "SELECT VereinsID FROM Vereinsliste WHERE VNummer LIKE ? ESCAPE '\\' ORDER BY VereinsID")
{
    if (m_verzeichnis)
        m_verzeichnis->abgleichen(db);
}

std::optional<std::int64_t> Vereinssuche::suchen(std::string_view nummer)
{
    if (m_verzeichnis) {
        if (!m_verzeichnis->geladen())
            m_verzeichnis->laden(m_db);
        return m_verzeichnis->suchen(nummer);
    }
    m_abfrage.reset();
    m_abfrage.bind(1, clubdb::likeContains(nummer));
    std::optional<std::int64_t> key;
    if (m_abfrage.step())
        key = m_abfrage.integer(0);
    m_abfrage.reset();
    return key;
}

void Vereinssuche::gespeichert(std::int64_t key, std::string_view vnummer)
{
    if (m_verzeichnis)
        m_verzeichnis->aufnehmen(key, vnummer);
}

void Vereinssuche::verworfen()
{
    if (m_verzeichnis)
        m_verzeichnis->verwerfen();
}

} // namespace importer
