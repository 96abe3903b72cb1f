#pragma once

// What the batch program makes of the conversion log after a run: the most frequent kinds of
// problems on standard output, so that whoever reads a script's output sees at once what to mend
// in TVX first, and on request the CSV file of every problem line, the same as the window saves.

#include "uebersicht/Problemuebersicht.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace batch {

// "Häufigste Gründe:" and the five largest groups of all steps, one a line: count, step, reason.
// Nothing when there is no problem line.
void printTopReasons(std::ostream& out, const uebersicht::Problemuebersicht& overview);

// Whether the CSV file can be written as asked, checked with the other inputs before anything is
// converted: its folder exists, it replaces an existing file only with --replace, and it is none
// of the input files. An error text when not.
std::optional<std::string> checkProblemsFile(const std::filesystem::path& csv, bool replace,
                                             const std::vector<std::filesystem::path>& inputs);

// Writes every problem line of the overview into the CSV file; an error text when it could not.
std::optional<std::string> writeProblemsFile(const std::filesystem::path& csv,
                                             const uebersicht::Problemuebersicht& overview);

} // namespace batch
