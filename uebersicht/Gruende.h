#pragma once

// The reasons of one log record, and the kind of problem each of them stands for.
//
// The steps word their reasons in their own ways: the clubs step strings them together on one
// record, each after " - "; the members and start-rights steps give one reason a record, after a
// TAB and "- ", or without any lead; a duplicate report begins with an arrow. Some reasons carry
// values of their line (a club number, an SpO-Nr); their kind leaves the value out, so that all
// lines with an unknown SpO-Nr fall under one kind, whatever the number.

#include <string>
#include <string_view>
#include <vector>

namespace uebersicht {

// The reasons of one record, without their leading blanks, TABs, dash or arrow.
std::vector<std::string> GruendeDesSatzes(std::string_view satz);

// The kind of a reason: its text with the value of its line replaced by "…"
// ("SpO-Nr 1.99 nicht gefunden" gives "SpO-Nr … nicht gefunden"); other reasons are their own kind.
std::string Grundart(std::string_view grund);

} // namespace uebersicht
