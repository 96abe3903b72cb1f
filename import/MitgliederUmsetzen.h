#pragma once

// The members import: every line of the members file names a member of a club; the person is
// found again or stored, likely duplicates are reported, and the memberships in the importing
// club and in the home club are stored.

#include "import/Schritt.h"

#include <cstdint>
#include <string>

namespace importer {

// Converts the members file and returns the number of its problem lines.
std::int32_t MitgliederUmsetzen(const Schrittkontext& kontext, const std::string& dateiname);

} // namespace importer
