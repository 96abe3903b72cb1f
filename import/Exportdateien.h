#pragma once

// Recognising the export files in the folder into which the member administration wrote
// them. Their names carry the kind between underscores ("Verband_V_2024.csv") or, in older
// exports, between full stops ("Verband.V.2024.csv").

#include <string>
#include <string_view>
#include <vector>

namespace importer {

struct Exportdatei
{
    std::string name; // file name only, without folder
    bool gefunden = false;
    // The other files that match the same pattern, in the order of Dateiliste(): a folder that
    // still holds last season's export. They are never converted.
    std::vector<std::string> weitere = {};
};

struct Exportdateien
{
    Exportdatei kreise;      // districts: shown, never converted
    Exportdatei vereine;     // clubs
    Exportdatei mitglieder;  // members
    Exportdatei startrechte; // start rights

    bool keine() const { return !kreise.gefunden && !vereine.gefunden && !mitglieder.gefunden && !startrechte.gefunden; }
};

// True when name matches the wildcard pattern ("*" any run, "?" one character), letters
// compared regardless of case.
bool passtZuMuster(std::string_view name, std::string_view muster);

// The names of the files in ordner, sorted by name regardless of case, so that "the first
// file" of a pattern is the same on every machine. Empty when the folder cannot be read.
std::vector<std::string> Dateiliste(const std::string& ordner);

// Looks for each kind with its first pattern, then its second; of several matching files the
// first of Dateiliste() is taken, and the rest of them are its weitere.
Exportdateien ExportdateienSuchen(const std::string& ordner);

} // namespace importer
