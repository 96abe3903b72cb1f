#pragma once

// The other view of the conversion log: not line after line, but which kinds of problems there
// are and how many lines each concerns, so that the person at the federation sees at a glance
// what to mend in TVX first.

#include "uebersicht/Problemzeile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace uebersicht {

// One reason of one problem line.
struct Fundstelle
{
    std::size_t zeile; // index into Problemuebersicht::zeilen
    std::size_t grund; // index into that line's gruende
};

// The lines of one step that share a kind of problem. A line with several reasons is in the
// group of each of them.
struct Gruppe
{
    Schritt schritt = Schritt::Vereine;
    std::string art;
    std::vector<Fundstelle> fundstellen; // in the order of the lines
    std::size_t anzahl = 0;              // lines; a line with two reasons of this kind counts once
};

struct Problemuebersicht
{
    std::vector<Problemzeile> zeilen;
    std::vector<Gruppe> gruppen; // the steps in the order of the run, in each step the largest group first
};

Problemuebersicht UebersichtBilden(std::vector<Problemzeile> zeilen);

// The n largest groups of all steps, largest first; of equal ones the earlier step's first.
std::vector<const Gruppe*> GroessteGruppen(const Problemuebersicht& uebersicht, std::size_t n);

// Every reason of every line, in the order of the lines: what "all problems" lists.
std::vector<Fundstelle> AlleFundstellen(const Problemuebersicht& uebersicht);

} // namespace uebersicht
