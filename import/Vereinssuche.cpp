#include "import/Vereinssuche.h"

#include "clubdb/SqlFunctions.h"

namespace importer {

Vereinssuche::Vereinssuche(clubdb::Connection& db, Gedaechtnis gedaechtnis)
    : m_abfrage(db, "SELECT VereinsID FROM Vereinsliste WHERE VNummer LIKE ? ESCAPE '\\' ORDER BY VereinsID")
    , m_gedaechtnis(gedaechtnis)
{
}

std::optional<std::int64_t> Vereinssuche::suchen(std::string_view nummer)
{
    if (m_gedaechtnis == Merken) {
        const auto gemerkt = m_antworten.find(std::string(nummer));
        if (gemerkt != m_antworten.end())
            return gemerkt->second;
    }
    m_abfrage.reset();
    m_abfrage.bind(1, clubdb::likeContains(nummer));
    std::optional<std::int64_t> key;
    if (m_abfrage.step())
        key = m_abfrage.integer(0);
    m_abfrage.reset();
    if (m_gedaechtnis == Merken)
        m_antworten.emplace(nummer, key);
    return key;
}

} // namespace importer
