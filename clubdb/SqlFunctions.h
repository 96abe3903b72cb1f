#pragma once

// The text comparison that both database files need on every connection.
//
// The club database was designed for the general sort order of code page 1252: a lookup
// finds "Müller" when it searches for "MÜLLER", and a sort by name puts "de Vries" among the
// D's. SQLite's own LIKE folds ASCII only and treats nothing as literal once ESCAPE is
// missing, so every connection gets this program's LIKE and a case-insensitive collation.

#include <string>
#include <string_view>

struct sqlite3;

namespace clubdb {

// The collation for sorting names: ORDER BY M_Name COLLATE NOCASE1252, M_ID sorts by name
// regardless of letter case and keeps equal names in the order in which they were stored.
inline constexpr const char* kNoCaseCollation = "NOCASE1252";

// LIKE of this program: "%" matches any run of characters, "_" exactly one character, every
// other character (also "[") stands for itself, and letters match regardless of case for
// ASCII and the letters of Windows-1252. With ESCAPE (escape not 0) the character after the
// escape character stands for itself.
bool likeMatches(std::string_view text, std::string_view pattern, char32_t escape = 0);

// The escape character of the patterns made by likeContains(): WHERE f LIKE ? ESCAPE '\'.
inline constexpr char kLikeEscape = '\\';

// A LIKE pattern with ESCAPE '\' that finds value anywhere in a field. A value from an export
// file may hold "%" or "_" (a garbled or hostile file): they stand for themselves, so that such a
// value never finds the record of another club or person.
std::string likeContains(std::string_view value);

// Three-way comparison of two texts, ignoring letter case as likeMatches() does.
int compareIgnoringCase(std::string_view a, std::string_view b);

// The text with every letter in the one case that likeMatches() compares: a text holds a value
// regardless of case exactly when the folded text holds the folded value, character for
// character and byte for byte. Lets an index in memory answer as LIKE would.
std::string caseFolded(std::string_view text);

// Replaces LIKE and adds the collation on the connection db. Throws DbError on failure.
void installSqlFunctions(sqlite3* db);

} // namespace clubdb
