#pragma once

// The searches and writes of person matching on the club database, one prepared statement
// each, made once per import step. This is the plain form: every search is a query over all
// stored persons. Personenindex serves the same searches from memory.

#include "clubdb/Connection.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "import/Personenabgleich.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace importer {

// A text as person matching stores it: the value without blanks at both ends and one blank after
// it, so that no text field of the club database ever receives an empty text.
std::string GespeicherterText(std::string_view wert);

class Mitgliederabfragen
{
public:
    explicit Mitgliederabfragen(clubdb::Connection& db);
    virtual ~Mitgliederabfragen() = default;
    Mitgliederabfragen(const Mitgliederabfragen&) = delete;
    Mitgliederabfragen& operator=(const Mitgliederabfragen&) = delete;

    // Every stored person whose last name or first name contains the member's (LIKE, letters
    // regardless of case) or whose birth date is the member's, sorted by last name regardless
    // of case, equal names in the order of storing; with the number of each person's first
    // membership. Scores are not set.
    virtual std::vector<Kandidat> Kandidatensuche(const Mitgliedsdaten& m);

    // The first stored person whose names, town and street contain the member's and whose birth
    // date is the member's, in the same order.
    virtual std::optional<std::int64_t> Personensuche(const Mitgliedsdaten& m);

    virtual std::int64_t PersonAnlegen(const Mitgliedsdaten& m);

    // The first membership of the person in the club.
    virtual std::optional<std::int64_t> MitgliedschaftSuchen(std::int64_t vereinKey, std::int64_t personKey);

    virtual std::int64_t MitgliedschaftAnlegen(std::int64_t personKey, std::int64_t vereinKey, const std::string& nummer,
                                       const clubdb::Date& eintritt, bool stamm);

    void EintrittSetzen(std::int64_t mitgliedschaftKey, const clubdb::Date& eintritt);

private:
    clubdb::Statement m_kandidaten;
    clubdb::Statement m_person;
    clubdb::Statement m_mitgliedschaft;
    clubdb::RecordInserter m_neuePerson;
    clubdb::RecordInserter m_neueMitgliedschaft;
    clubdb::RecordUpdater m_eintritt;
};

} // namespace importer
