#pragma once

// The start-rights import: a member of a home club may start for a second club in one
// discipline. Each line finds both clubs and the member's memberships, adds the membership
// that is missing, marks the home membership, and stores the start right on the membership in
// the second club.

#include "import/Schritt.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace importer {

// The values of one line of the start-rights file.
struct Startrechtszeile
{
    bool vollstaendig = false; // the line has the commas its layout needs
    std::string stammverein;   // cleaned club numbers
    std::string zweitverein;
    std::string stammnummer;   // cleaned membership numbers
    std::string zweitnummer;
    std::string spoNr;
};

// The layout of the whole file, from its first line: exactly six commas after the first
// character mean seven columns, anything else six.
bool SiebenSpalten(std::string_view ersteZeile);

// Takes a line apart by the layout and cleans its values.
Startrechtszeile StartrechtszeileAuswerten(std::string_view zeile, bool siebenSpalten);

// The discipline with exactly this SpO-Nr (the first one when several share it).
bool DisziplinSuchen(const definitions::Disziplintabelle& disziplinen, std::string_view spoNr, std::string& name);

// Converts the start-rights file and returns the number of its problem lines.
std::int32_t StartberechtigungenUmsetzen(const Schrittkontext& kontext, const std::string& dateiname);

} // namespace importer
