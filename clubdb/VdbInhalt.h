#pragma once

// What the club database holds, counted after every import step so that the club official
// sees the conversion grow: clubs, persons, Hochmeldungen, memberships, second memberships and
// start rights.

#include <cstdint>
#include <optional>
#include <string>

namespace clubdb {

struct VdbInhalt
{
    // Each count is missing when the club database could not be read; the window then shows "?".
    std::optional<std::int64_t> vereine;
    std::optional<std::int64_t> schuetzen;
    std::optional<std::int64_t> gesMitglieder;
    std::optional<std::int64_t> hochmeldungen;
    std::optional<std::int64_t> zweitmitgliedschaften;
    std::optional<std::int64_t> startrechte;
};

// Counts the club database at pfad. A person counts as a Hochmeldung when M_Hochmeld, trimmed,
// is anything but "0"; a person without value in it does not count.
VdbInhalt VdbInhaltZaehlen(const std::string& pfad);

// The count as the window shows it: decimal digits, or "?" when it could not be counted.
std::string Anzeigetext(const std::optional<std::int64_t>& zahl);

} // namespace clubdb
