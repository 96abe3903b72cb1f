#include "import/Vereinsverzeichnis.h"

#include "clubdb/SqlFunctions.h"
#include "clubdb/Statement.h"

#include <algorithm>

namespace importer {
namespace {

// Numbers up to this many characters are taken apart into every piece; the export's club
// numbers have at most six, and the field holds 22.
constexpr std::size_t kZerlegt = 12;

// Byte offsets of the characters of a folded text, and its end.
std::vector<std::size_t> zeichengrenzen(const std::string& gefaltet)
{
    std::vector<std::size_t> grenzen;
    for (std::size_t i = 0; i < gefaltet.size(); ++i) {
        if ((static_cast<unsigned char>(gefaltet[i]) & 0xC0) != 0x80)
            grenzen.push_back(i);
    }
    grenzen.push_back(gefaltet.size());
    return grenzen;
}

} // namespace

void Vereinsverzeichnis::abgleichen(clubdb::Connection& db)
{
    if (m_geladen) {
        clubdb::Statement stand(db, "SELECT count(*), ifnull(max(VereinsID), 0) FROM Vereinsliste");
        if (stand.step() && stand.integer(0) == m_anzahl && stand.integer(1) == m_hoechsterKey)
            return;
    }
    laden(db);
}

void Vereinsverzeichnis::laden(clubdb::Connection& db)
{
    verwerfen();
    clubdb::Statement alle(db, "SELECT VereinsID, VNummer FROM Vereinsliste ORDER BY VereinsID");
    while (alle.step()) {
        const std::int64_t key = alle.integer(0);
        if (!alle.isNull(1))
            eintragen(key, alle.text(1));
        ++m_anzahl;
        m_hoechsterKey = std::max(m_hoechsterKey, key);
    }
    m_geladen = true;
}

void Vereinsverzeichnis::verwerfen()
{
    m_geladen = false;
    m_letzte.gemerkt = false;
    m_anzahl = 0;
    m_hoechsterKey = 0;
    m_erster.clear();
    m_lange.clear();
}

void Vereinsverzeichnis::aufnehmen(std::int64_t key, std::string_view vnummer)
{
    if (!m_geladen)
        return;
    eintragen(key, vnummer);
    ++m_anzahl;
    m_hoechsterKey = std::max(m_hoechsterKey, key);
}

void Vereinsverzeichnis::eintragen(std::int64_t key, std::string_view vnummer)
{
    m_letzte.gemerkt = false;
    std::string gefaltet = clubdb::caseFolded(vnummer);
    const std::vector<std::size_t> grenzen = zeichengrenzen(gefaltet);
    if (grenzen.size() - 1 > kZerlegt) {
        m_lange.emplace_back(key, std::move(gefaltet));
        return;
    }
    const auto merken = [&](std::string stueck) {
        const auto [eintrag, neu] = m_erster.try_emplace(std::move(stueck), key);
        if (!neu && key < eintrag->second)
            eintrag->second = key;
    };
    merken({}); // an empty number is contained in every stored number
    for (std::size_t von = 0; von + 1 < grenzen.size(); ++von) {
        for (std::size_t bis = von + 1; bis < grenzen.size(); ++bis)
            merken(gefaltet.substr(grenzen[von], grenzen[bis] - grenzen[von]));
    }
}

std::optional<std::int64_t> Vereinsverzeichnis::suchen(std::string_view nummer) const
{
    if (m_letzte.gemerkt && m_letzte.nummer == nummer)
        return m_letzte.verein;
    const std::string gesucht = clubdb::caseFolded(nummer);
    std::optional<std::int64_t> erster;
    if (const auto gefunden = m_erster.find(gesucht); gefunden != m_erster.end())
        erster = gefunden->second;
    for (const auto& [key, gefaltet] : m_lange) {
        if ((!erster || key < *erster) && gefaltet.find(gesucht) != std::string::npos)
            erster = key;
    }
    m_letzte = {true, std::string(nummer), erster};
    return erster;
}

} // namespace importer
