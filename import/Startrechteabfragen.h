#pragma once

// The searches and writes of the start-rights import on the club database. Memberships are
// found by number from memory (Mitgliedschaftsindex) unless the step runs the plain queries.

#include "clubdb/Connection.h"
#include "clubdb/Date.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "import/Mitgliedschaftsindex.h"
#include "import/Schritt.h"
#include "import/Vereinssuche.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace importer {

class Startrechteabfragen
{
public:
    Startrechteabfragen(clubdb::Connection& db, const Schrittkontext& kontext);

    Vereinssuche vereine;

    // The first membership in the club whose number contains nummer.
    std::optional<Mitgliedschaftsverweis> MitgliedschaftSuchen(const std::string& nummer, std::int64_t verein);

    // A membership of a person, with its home-membership flag as stored.
    struct MitgliedschaftDerPerson
    {
        Mitgliedschaftsverweis verweis;
        std::optional<bool> stamm; // nothing unless Mgl_Stamm holds exactly 1 or 0
    };

    // Every membership of the person, in the order of storing.
    std::vector<MitgliedschaftDerPerson> MitgliedschaftenDerPerson(std::int64_t person);

    void StammSetzen(std::int64_t mitgliedschaft, bool stamm);

    // A membership that the start-rights file brings: Mgl_Pass true, the number as it stands.
    std::int64_t MitgliedschaftAnlegen(std::int64_t person, std::int64_t verein, const std::string& nummer,
                                       const clubdb::Date& eintritt, bool stamm);

    void StartrechtAnlegen(std::int64_t mitgliedschaft, const std::string& spoNr, const std::string& bezeichnung);

    // The lines since the last commit were lost: what they stored is gone from the file.
    void verworfen();

private:
    clubdb::Statement m_mitgliedschaft;
    clubdb::Statement m_mitgliedschaften;
    clubdb::RecordUpdater m_stamm;
    clubdb::RecordInserter m_neueMitgliedschaft;
    clubdb::RecordInserter m_startrecht;
    std::optional<Mitgliedschaftsindex> m_index;
};

} // namespace importer
