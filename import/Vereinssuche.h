#pragma once

// Finding a stored club by its number. The export's numbers are searched with "%" on both
// sides, as the competition program does, so "04-001" also finds a stored "04-0011": the
// first club stored wins.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace importer {

class Vereinssuche
{
public:
    explicit Vereinssuche(clubdb::Connection& db);

    // VereinsID of the first club whose VNummer contains nummer; nothing when there is none.
    // Throws DbError.
    std::optional<std::int64_t> suchen(std::string_view nummer);

private:
    clubdb::Statement m_abfrage;
};

} // namespace importer
