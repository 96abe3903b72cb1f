#pragma once

// The clubs import: every line of the clubs file becomes one club of Vereinsliste, so that
// the members import can find each member's club by its number.

#include "import/Schritt.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace importer {

// The values of one line of the clubs file, cleaned and cut to the sizes of the club
// database (one character less than the field, for the blank that every stored text gets).
struct Vereinswerte
{
    std::string nummer;          // "04-001", or "BY-004" for an association
    std::string verbandsKuerzel; // set for an association number only
    std::string name;
    std::string abkuerzung;
    std::string vorsitzender; // empty when the contact person is not the chairman
    std::string kontaktName;
    std::string strasse;
    std::string plz;
    std::string ort;     // town of the office
    std::string vereinsort;
    std::string telefon;
    std::string eMail;
    std::string homepage;
};

// Takes a line of the clubs file apart and works out its values.
Vereinswerte VereinszeileAuswerten(std::string_view zeile);

// Converts the clubs file into Vereinsliste and returns the number of problem lines.
std::int32_t VereineUmsetzen(const Schrittkontext& kontext, const std::string& dateiname);

} // namespace importer
