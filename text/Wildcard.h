#pragma once

// Wildcard matching on characters, with letters compared regardless of case (as foldCase()
// in Utf8.h). Serves both the database's LIKE ("%" and "_") and the export-file patterns
// ("*" and "?").

#include <string_view>

namespace text {

// True when subject matches pattern, where anyRun in the pattern matches any run of
// characters (also none), anyOne exactly one character, and every other character itself.
// escape, when not 0, makes the pattern character after it stand for itself, so that a value
// holding anyRun or anyOne can be searched for as it is.
bool wildcardMatches(std::string_view subject, std::string_view pattern, char32_t anyRun, char32_t anyOne,
                     char32_t escape = 0);

} // namespace text
