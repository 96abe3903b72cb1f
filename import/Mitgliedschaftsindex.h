#pragma once

// The memberships of the clubs that the start-rights file names, in memory, so that a line
// finds a membership by its number without reading its club's memberships once more.
//
// The plain search takes the first membership of the club, in the order of storing, whose
// Mgl_MglNr contains the number, letters regardless of case. Membership numbers have one
// length ("04-001-0027", stored with a blank after it by the members step). In a club whose
// numbers are no longer than the searched one, a membership holds the number exactly when its
// own number without the blanks at both ends is that number: one binary search among the
// club's numbers. Where a club holds a longer number, which may hold the searched one among
// other characters, the index does not answer and the plain search must.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace importer {

struct Mitgliedschaftsverweis
{
    std::int64_t mitgliedschaft = 0; // Mgl_ID
    std::int64_t person = 0;         // Mgl_Schütze_ID
    std::int64_t verein = 0;         // Mgl_Verein_ID
};

class Mitgliedschaftsindex
{
public:
    explicit Mitgliedschaftsindex(clubdb::Connection& db);

    struct Antwort
    {
        bool bekannt = false; // false: only the plain search can tell
        std::optional<Mitgliedschaftsverweis> mitgliedschaft;
    };

    // The first membership in the club whose number contains nummer. Reads the memberships of
    // all clubs when it is first asked, those of a club it did not know when asked about it.
    // Throws DbError.
    Antwort suchen(std::string_view nummer, std::int64_t verein);

    // The membership just stored, with its number as written.
    void angelegt(const Mitgliedschaftsverweis& mitgliedschaft, std::string_view nummer);

    // Forgets every club: the memberships stored since the last commit are gone from the file.
    void verwerfen()
    {
        m_vereine.clear();
        m_alleGeladen = false;
    }

private:
    struct Eintrag
    {
        std::string nummer; // without blanks at both ends, letters in one case
        std::int64_t mitgliedschaft = 0;
        std::int64_t person = 0;
    };

    struct Verein
    {
        std::vector<Eintrag> nachNummer; // by number, equal numbers in the order of storing
        std::size_t laengste = 0;        // characters of the longest number
        bool nurAbfrage = false;         // a membership without person: the plain search must answer
    };

    Verein& verein(std::int64_t key);
    void alleLaden();
    static void aufnehmen(Verein& verein, const clubdb::Statement& zeile); // Mgl_ID, Mgl_Schütze_ID, Mgl_MglNr
    static void ordnen(Verein& verein);
    static void einordnen(Verein& verein, Eintrag eintrag);

    clubdb::Statement m_laden; // the memberships of one club
    clubdb::Statement m_alle;  // of all clubs
    bool m_alleGeladen = false;
    std::unordered_map<std::int64_t, Verein> m_vereine;
};

} // namespace importer
