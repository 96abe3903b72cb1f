#pragma once

// The stored club numbers in memory, so that finding a club by its number costs the same
// whether a federation has a hundred clubs or twenty thousand.
//
// A club is found as the competition program finds it: the first club in key order whose
// VNummer contains the number, letters regardless of case (as the program's LIKE compares
// them), "%" and "_" standing for themselves. Club numbers are short ("04-001 "), so every
// piece of every stored number is a key of its own, with the first club that holds it: a
// lookup is one search in a hash table. A number that only another program can have stored,
// longer than any club number of the export, is kept aside and compared whole.
//
// One directory serves the three steps of a run: the clubs step tells it every club it
// stores, and every step makes sure at its start that it still describes the club database.

#include "clubdb/Connection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace importer {

class Vereinsverzeichnis
{
public:
    // Reads the clubs of db unless the directory holds as many clubs, up to the same highest
    // key, as db does. Throws DbError.
    void abgleichen(clubdb::Connection& db);

    // Reads the clubs of db anew. Throws DbError.
    void laden(clubdb::Connection& db);

    // Forgets every club: the clubs stored since the last commit are gone from the file.
    void verwerfen();

    bool geladen() const { return m_geladen; }

    // The club just stored under key with the VNummer as written. Ignored while nothing is loaded:
    // the next laden() reads it from the file.
    void aufnehmen(std::int64_t key, std::string_view vnummer);

    // VereinsID of the first club whose VNummer contains nummer; nothing when there is none.
    std::optional<std::int64_t> suchen(std::string_view nummer) const;

private:
    void eintragen(std::int64_t key, std::string_view vnummer);

    // A members file lists the members of a club one after another: the lookup asked for last
    // is remembered until the directory changes.
    struct LetzteSuche
    {
        bool gemerkt = false;
        std::string nummer;
        std::optional<std::int64_t> verein;
    };
    mutable LetzteSuche m_letzte;

    bool m_geladen = false;
    std::int64_t m_anzahl = 0;
    std::int64_t m_hoechsterKey = 0;
    std::unordered_map<std::string, std::int64_t> m_erster;    // folded piece → first club holding it
    std::vector<std::pair<std::int64_t, std::string>> m_lange; // key, folded number
};

} // namespace importer
