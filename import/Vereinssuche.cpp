#include "import/Vereinssuche.h"

namespace importer {

Vereinssuche::Vereinssuche(clubdb::Connection& db)
    : m_abfrage(db, "SELECT VereinsID FROM Vereinsliste WHERE VNummer LIKE ? ORDER BY VereinsID")
{
}

std::optional<std::int64_t> Vereinssuche::suchen(std::string_view nummer)
{
    m_abfrage.reset();
    m_abfrage.bind(1, "%" + std::string(nummer) + "%");
    std::optional<std::int64_t> key;
    if (m_abfrage.step())
        key = m_abfrage.integer(0);
    m_abfrage.reset();
    return key;
}

} // namespace importer
