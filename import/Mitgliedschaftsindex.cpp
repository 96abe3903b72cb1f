#include "import/Mitgliedschaftsindex.h"

#include "clubdb/SqlFunctions.h"
#include "text/Utf8.h"

#include <algorithm>

namespace importer {
namespace {

// The number without blanks at both ends, letters in one case.
std::string gefaltet(std::string_view nummer)
{
    return clubdb::caseFolded(text::trimmedView(nummer));
}

} // namespace

Mitgliedschaftsindex::Mitgliedschaftsindex(clubdb::Connection& db)
    : m_laden(db, "SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_MglNr FROM Mitgliedschaft WHERE Mgl_Verein_ID = ? "
                  "ORDER BY Mgl_ID"),
      m_alle(db, "SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_MglNr, Mgl_Verein_ID FROM Mitgliedschaft ORDER BY Mgl_ID")
{
}

void Mitgliedschaftsindex::aufnehmen(Verein& v, const clubdb::Statement& zeile)
{
    if (zeile.isNull(2))
        return; // a number without value matches nothing
    if (zeile.isNull(1)) {
        v.nurAbfrage = true;
        return;
    }
    v.nachNummer.push_back({gefaltet(zeile.text(2)), zeile.integer(0), zeile.integer(1)});
    v.laengste = std::max(v.laengste, text::length(v.nachNummer.back().nummer));
}

void Mitgliedschaftsindex::ordnen(Verein& v)
{
    // The rows came in the order of storing, which the sort keeps among equal numbers.
    std::stable_sort(v.nachNummer.begin(), v.nachNummer.end(),
                     [](const Eintrag& a, const Eintrag& b) { return a.nummer < b.nummer; });
}

// Every club at once, in one pass over the memberships in the order of storing: a federation's
// start rights name nearly every club, and a search for each club would read the memberships
// stored for it by other clubs' lines from all over the file.
void Mitgliedschaftsindex::alleLaden()
{
    m_alleGeladen = true;
    m_alle.reset();
    while (m_alle.step()) {
        // Only a key stored as an integer equals the key of a club.
        const clubdb::Value verein = m_alle.value(3);
        if (const auto* key = std::get_if<std::int64_t>(&verein))
            aufnehmen(m_vereine[*key], m_alle);
    }
    m_alle.reset();
    for (auto& [key, v] : m_vereine)
        ordnen(v);
}

Mitgliedschaftsindex::Verein& Mitgliedschaftsindex::verein(std::int64_t key)
{
    if (!m_alleGeladen)
        alleLaden();
    const auto bekannt = m_vereine.find(key);
    if (bekannt != m_vereine.end())
        return bekannt->second;
    Verein v;
    m_laden.reset();
    m_laden.bind(1, key);
    while (m_laden.step())
        aufnehmen(v, m_laden);
    m_laden.reset();
    ordnen(v);
    return m_vereine.emplace(key, std::move(v)).first->second;
}

void Mitgliedschaftsindex::einordnen(Verein& verein, Eintrag eintrag)
{
    const auto vorher = [](const Eintrag& a, const Eintrag& b) {
        const int vergleich = a.nummer.compare(b.nummer);
        return vergleich != 0 ? vergleich < 0 : a.mitgliedschaft < b.mitgliedschaft;
    };
    verein.laengste = std::max(verein.laengste, text::length(eintrag.nummer));
    const auto stelle = std::upper_bound(verein.nachNummer.begin(), verein.nachNummer.end(), eintrag, vorher);
    verein.nachNummer.insert(stelle, std::move(eintrag));
}

Mitgliedschaftsindex::Antwort Mitgliedschaftsindex::suchen(std::string_view nummer, std::int64_t key)
{
    const std::string gesucht = clubdb::caseFolded(nummer);
    // A number with blanks at its ends may reach into the blanks around a stored number.
    if (gesucht.empty() || gesucht.front() == ' ' || gesucht.back() == ' ')
        return {};
    const Verein& v = verein(key);
    if (v.nurAbfrage || v.laengste > text::length(gesucht))
        return {};
    const auto erster = std::lower_bound(v.nachNummer.begin(), v.nachNummer.end(), gesucht,
                                         [](const Eintrag& e, const std::string& wert) { return e.nummer < wert; });
    if (erster == v.nachNummer.end() || erster->nummer != gesucht)
        return {true, std::nullopt};
    return {true, Mitgliedschaftsverweis{erster->mitgliedschaft, erster->person, key}};
}

void Mitgliedschaftsindex::angelegt(const Mitgliedschaftsverweis& mitgliedschaft, std::string_view nummer)
{
    const auto v = m_vereine.find(mitgliedschaft.verein);
    if (v != m_vereine.end())
        einordnen(v->second, {gefaltet(nummer), mitgliedschaft.mitgliedschaft, mitgliedschaft.person});
}

} // namespace importer
