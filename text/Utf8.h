#pragma once

// Character-counted operations on UTF-8 text.
//
// Every text inside the program is UTF-8 in a std::string. The export files and the
// database fields are measured in characters ("cut to 20 characters", "the last three
// characters"), so all lengths, cuts and positions here count code points, never bytes.
// Nothing else in the program indexes UTF-8 by hand.
//
// Positions are 0-based. A byte that does not start a valid UTF-8 sequence counts as one
// character of its own, so that every function is total on any input.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// Number of characters.
std::size_t length(std::string_view s);

// The first n characters (all of s when it is shorter).
std::string left(std::string_view s, std::size_t n);

// The last n characters (all of s when it is shorter).
std::string right(std::string_view s, std::size_t n);

// n characters from character position start; fewer when s ends before; empty when start
// lies at or beyond the end.
std::string mid(std::string_view s, std::size_t start, std::size_t n = std::string_view::npos);

// Character position of the first / last occurrence of needle, or nothing.
std::optional<std::size_t> find(std::string_view s, std::string_view needle);
std::optional<std::size_t> findLast(std::string_view s, std::string_view needle);

// Removes leading and trailing space characters (U+0020) only; tabs and other white space stay.
std::string trim(std::string_view s);
// The same, as a view into s.
std::string_view trimmedView(std::string_view s);

// True when s is empty after trim().
bool isBlank(std::string_view s);

// Upper case of the ASCII letters and of the letters that Windows-1252 has in both cases
// (ä → Ä, é → É, š → Š, ÿ → Ÿ ...). Other characters are unchanged; ß stays ß.
std::string toUpper(std::string_view s);

// Case folding of one character for comparisons that ignore letter case, with the same
// letters as toUpper(): the lower-case form of an upper-case letter, else the character.
char32_t foldCase(char32_t c);

// Decodes the character at byte offset pos and advances pos past it. An invalid or
// truncated sequence yields the single byte's value (0x80..0xFF) and advances by one byte.
// Precondition: pos < s.size().
char32_t nextCodePoint(std::string_view s, std::size_t& pos);

// Appends the UTF-8 form of c to out.
void appendUtf8(std::string& out, char32_t c);

} // namespace text
