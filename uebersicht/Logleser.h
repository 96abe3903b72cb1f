#pragma once

// Reads the conversion log back: every export line it reports, with its step, number, text,
// reasons and, for a duplicate report, the persons named.
//
// The log is written for people, not for programs, so the reader follows its shape closely:
// each step's section begins with its heading; a problem entry begins with "Zeile" + blank + the
// line number with one leading blank + TAB + the raw line; the reasons follow on the next records
// (the clubs step strings its reasons together on one record); the entry ends with an empty
// record, the next entry, or the step's count record. Records end at CR LF only: an export line
// may hold a lone line feed, and it stays part of the raw line.
//
// When a batch of lines is lost because the club database refused it, the log names the lines
// by their numbers only; each of them is then reported with that reason, and without its text
// unless an entry of its own gave it.

#include "uebersicht/Problemzeile.h"

#include <string>
#include <string_view>
#include <vector>

namespace uebersicht {

// The problem lines of a log given as UTF-8 text, ordered by step and line number.
std::vector<Problemzeile> LogtextLesen(std::string_view text);

// Reads and decodes the log file (Windows-1252). Throws std::system_error when it cannot be read.
std::vector<Problemzeile> LogdateiLesen(const std::string& pfad);

// The whole log file decoded from Windows-1252. Throws std::system_error when it cannot be read.
std::string LogdateiText(const std::string& pfad);

} // namespace uebersicht
