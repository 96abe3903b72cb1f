#pragma once

// The searches and writes of the start-rights import on the club database.

#include "clubdb/Connection.h"
#include "clubdb/Date.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "import/Vereinssuche.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace importer {

struct Mitgliedschaftsverweis
{
    std::int64_t mitgliedschaft = 0; // Mgl_ID
    std::int64_t person = 0;         // Mgl_Schütze_ID
    std::int64_t verein = 0;         // Mgl_Verein_ID
};

class Startrechteabfragen
{
public:
    explicit Startrechteabfragen(clubdb::Connection& db);

    Vereinssuche vereine;

    // The first membership in the club whose number contains nummer.
    std::optional<Mitgliedschaftsverweis> MitgliedschaftSuchen(const std::string& nummer, std::int64_t verein);

    // Every membership of the person, in the order of storing.
    std::vector<Mitgliedschaftsverweis> MitgliedschaftenDerPerson(std::int64_t person);

    void StammSetzen(std::int64_t mitgliedschaft, bool stamm);

    // A membership that the start-rights file brings: Mgl_Pass true, the number as it stands.
    std::int64_t MitgliedschaftAnlegen(std::int64_t person, std::int64_t verein, const std::string& nummer,
                                       const clubdb::Date& eintritt, bool stamm);

    void StartrechtAnlegen(std::int64_t mitgliedschaft, const std::string& spoNr, const std::string& bezeichnung);

private:
    clubdb::Statement m_mitgliedschaft;
    clubdb::Statement m_mitgliedschaften;
    clubdb::RecordUpdater m_stamm;
    clubdb::RecordInserter m_neueMitgliedschaft;
    clubdb::RecordInserter m_startrecht;
};

} // namespace importer
