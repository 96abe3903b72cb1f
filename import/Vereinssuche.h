#pragma once

// Finding a stored club by its number. The export's numbers are searched with "%" on both
// sides, as the competition program does, so "04-001" also finds a stored "04-0011": the
// first club stored wins. A "%" or "_" in a number of a garbled file stands for itself.

#include "clubdb/Connection.h"
#include "clubdb/Statement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace importer {

class Vereinssuche
{
public:
    // The members and start-rights steps never change the clubs, so they may remember every
    // answer for the step; the clubs import stores clubs and must ask each time.
    enum Gedaechtnis { Fragen, Merken };

    explicit Vereinssuche(clubdb::Connection& db, Gedaechtnis gedaechtnis = Fragen);

    // VereinsID of the first club whose VNummer contains nummer; nothing when there is none.
    // Throws DbError.
    std::optional<std::int64_t> suchen(std::string_view nummer);

private:
    clubdb::Statement m_abfrage;
    Gedaechtnis m_gedaechtnis;
    std::unordered_map<std::string, std::optional<std::int64_t>> m_antworten;
};

} // namespace importer
