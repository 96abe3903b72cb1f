#include "import/Startrechteabfragen.h"

#include "clubdb/SqlFunctions.h"

namespace importer {

Startrechteabfragen::Startrechteabfragen(clubdb::Connection& db, const Schrittkontext& kontext)
    : vereine(db, kontext)
    , m_mitgliedschaft(db, "SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_Verein_ID FROM Mitgliedschaft "
                           "WHERE Mgl_MglNr LIKE ? ESCAPE '\\' AND Mgl_Verein_ID = ? ORDER BY Mgl_ID LIMIT 1")
    , m_mitgliedschaften(db, "SELECT Mgl_ID, Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_Stamm FROM Mitgliedschaft "
                             "WHERE Mgl_Schütze_ID = ? ORDER BY Mgl_ID")
    , m_stamm(db, "Mitgliedschaft", "Mgl_ID", {"Mgl_Stamm"})
    , m_neueMitgliedschaft(db, "Mitgliedschaft",
                           {"Mgl_Schütze_ID", "Mgl_Verein_ID", "Mgl_MglNr", "Mgl_Eintritt", "Mgl_Stamm", "Mgl_Pass",
                            "Mgl_update"})
    , m_startrecht(db, "StartBerecht", {"StB_Mgl_ID", "StB_SpO_Nr", "StB_SpO_Bez"})
{
    if (kontext.suchverfahren == Suchverfahren::Index)
        m_index.emplace(db);
}

std::optional<Mitgliedschaftsverweis> Startrechteabfragen::MitgliedschaftSuchen(const std::string& nummer,
                                                                               std::int64_t verein)
{
    if (m_index) {
        Mitgliedschaftsindex::Antwort antwort = m_index->suchen(nummer, verein);
        if (antwort.bekannt)
            return antwort.mitgliedschaft;
    }
    m_mitgliedschaft.reset();
    m_mitgliedschaft.bindAll({clubdb::likeContains(nummer), verein});
    std::optional<Mitgliedschaftsverweis> gefunden;
    if (m_mitgliedschaft.step())
        gefunden = Mitgliedschaftsverweis{m_mitgliedschaft.integer(0), m_mitgliedschaft.integer(1),
                                          m_mitgliedschaft.integer(2)};
    m_mitgliedschaft.reset();
    return gefunden;
}

std::vector<Startrechteabfragen::MitgliedschaftDerPerson>
Startrechteabfragen::MitgliedschaftenDerPerson(std::int64_t person)
{
    m_mitgliedschaften.reset();
    m_mitgliedschaften.bindAll({person});
    std::vector<MitgliedschaftDerPerson> alle;
    while (m_mitgliedschaften.step()) {
        MitgliedschaftDerPerson m{{m_mitgliedschaften.integer(0), m_mitgliedschaften.integer(1),
                                   m_mitgliedschaften.integer(2)},
                                  std::nullopt};
        const clubdb::Value stamm = m_mitgliedschaften.value(3);
        if (const auto* zahl = std::get_if<std::int64_t>(&stamm); zahl && (*zahl == 0 || *zahl == 1))
            m.stamm = *zahl == 1;
        alle.push_back(m);
    }
    m_mitgliedschaften.reset();
    return alle;
}

void Startrechteabfragen::StammSetzen(std::int64_t mitgliedschaft, bool stamm)
{
    m_stamm.update(mitgliedschaft, {stamm});
}

std::int64_t Startrechteabfragen::MitgliedschaftAnlegen(std::int64_t person, std::int64_t verein,
                                                        const std::string& nummer, const clubdb::Date& eintritt,
                                                        bool stamm)
{
    const std::int64_t key = m_neueMitgliedschaft.insert({person, verein, nummer, eintritt, stamm, true, true});
    if (m_index)
        m_index->angelegt({key, person, verein}, nummer);
    return key;
}

void Startrechteabfragen::StartrechtAnlegen(std::int64_t mitgliedschaft, const std::string& spoNr,
                                            const std::string& bezeichnung)
{
    m_startrecht.insert({mitgliedschaft, spoNr, bezeichnung});
}

void Startrechteabfragen::verworfen()
{
    if (m_index)
        m_index->verwerfen();
}

} // namespace importer
