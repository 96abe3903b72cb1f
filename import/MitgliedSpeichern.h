#pragma once

// Person matching and membership storage for one member record: find the person again
// instead of storing it twice, report stored persons that look like the same person under
// another membership, store the membership in the importing club and, when the membership
// number names another club, the home membership there.

#include "clubdb/DbError.h"
#include "import/Mitgliederabfragen.h"
#include "import/Vereinssuche.h"

#include <optional>
#include <string>
#include <string_view>

namespace importer {

struct Speicherergebnis
{
    int angelegt = 0;            // memberships created: 0, 1 or 2
    bool gemeldet = false;       // a report was appended: the line is a problem line
    std::optional<clubdb::DbError> speicherfehler; // the file or the database failed: not stored, or not whole
};

// Stores the member record m of the club with the number vereinsnummer. Reports of likely
// duplicates are appended to problemtext only when the conversion log is on (logEin). jetzt is
// the entry date of a home membership that the home club's own line has not brought yet.
// A failing database operation ends the work on the record with the reason TAB +
// "- Datenbankfehler: " + its description.
Speicherergebnis MitgliedSpeichern(const Mitgliedsdaten& m, std::string_view vereinsnummer,
                                   Mitgliederabfragen& abfragen, Vereinssuche& vereine, bool logEin,
                                   const clubdb::Date& jetzt, std::string& problemtext);

} // namespace importer
