#pragma once

// The problem lines as a CSV file for a spreadsheet program, the same from the window and from
// the batch program: a heading row, then one row a reason (step; line number; reason; raw line),
// so that a line with two reasons gives two rows.
//
// German spreadsheet programs expect ";" between the fields and recognise UTF-8 by its byte-order
// mark; rows end with CR LF. A field with a quote, a line break or anything a spreadsheet program
// may have been told to split at (";", ",", TAB) is quoted, its quotes doubled, so that an export
// line stays one field whatever the import settings. A field that begins like a formula ("=", "+", "-", "@") gets a
// leading apostrophe: an export line is outside data, and a spreadsheet must show it, never compute it.

#include "uebersicht/Problemuebersicht.h"

#include <string>
#include <string_view>
#include <vector>

namespace uebersicht {

std::string ProblemCsv(const Problemuebersicht& uebersicht, const std::vector<Fundstelle>& fundstellen);

// Writes inhalt to pfad through a new file beside it that replaces pfad only when it is complete,
// so that a full disk never leaves half a file under the chosen name. Throws std::system_error.
void DateiSchreiben(const std::string& pfad, std::string_view inhalt);

} // namespace uebersicht
