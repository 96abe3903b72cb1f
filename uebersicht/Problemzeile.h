#pragma once

// An export line as the conversion log reports it, read back for the problem overview: which
// step read it, its number and text, and every reason the step gave for it.

#include <cstdint>
#include <string>
#include <vector>

namespace uebersicht {

enum class Schritt { Vereine, Mitglieder, Startberechtigungen };

// The step as the window's progress labels name it: "Vereine", "Mitglieder", "Startberechtigungen".
const char* Schrittname(Schritt schritt);

// A person named in a duplicate report.
struct Person
{
    bool ausDerZeile = false; // the member of the line itself; otherwise a person stored before
    std::string angaben;      // name, birth date, sex, street, postcode and town, membership number; TAB between
};

struct Grund
{
    std::string text;             // as the log words it, without its leading dash or arrow
    std::string art;              // the kind of problem: the text without its line's own values
    std::vector<Person> personen; // the persons of a duplicate report
};

struct Problemzeile
{
    Schritt schritt = Schritt::Vereine;
    std::int32_t zeile = 0; // line number within the export file, from 1
    std::string rohzeile;   // the line as the export holds it; empty when the log names only its number
    std::vector<Grund> gruende;
};

} // namespace uebersicht
