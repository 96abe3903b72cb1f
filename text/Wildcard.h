#pragma once

// Wildcard matching on characters, with letters compared regardless of case (as foldCase()
// in Utf8.h). Serves both the database's LIKE ("%" and "_") and the export-file patterns
// ("*" and "?").

#include <string_view>

namespace text {

// True when subject matches pattern, where anyRun in the pattern matches any run of
// characters (also none), anyOne exactly one character, and every other character itself.
bool wildcardMatches(std::string_view subject, std::string_view pattern, char32_t anyRun, char32_t anyOne);

} // namespace text
