#pragma once

// Finding a stored club by its number. The export's numbers are searched with "%" on both
// sides, as the competition program does, so "04-001" also finds a stored "04-0011": the
// first club stored wins. A "%" or "_" in a number of a garbled file stands for itself.
//
// The search of a step: from the run's directory of club numbers in memory, or (the plain
// reference that the directory must agree with) by a query for every lookup.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"
#include "import/Schritt.h"
#include "import/Vereinsverzeichnis.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace importer {

class Vereinssuche
{
public:
    // Brings the run's directory up to date with db when the step searches through it.
    // Throws DbError.
    Vereinssuche(clubdb::Connection& db, const Schrittkontext& kontext);

    // VereinsID of the first club whose VNummer contains nummer; nothing when there is none.
    // Throws DbError.
    std::optional<std::int64_t> suchen(std::string_view nummer);

    // The clubs step stored a club under key with this VNummer.
    void gespeichert(std::int64_t key, std::string_view vnummer);

    // The clubs stored since the last commit are gone from the file.
    void verworfen();

private:
    clubdb::Connection& m_db;
    Vereinsverzeichnis* m_verzeichnis; // nullptr: a query for every lookup
    clubdb::Statement m_abfrage;
};

} // namespace importer
