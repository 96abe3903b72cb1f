#include "text/Utf8.h"

#include <cassert>

namespace text {
namespace {

unsigned char byteAt(std::string_view s, std::size_t pos)
{
    return static_cast<unsigned char>(s[pos]);
}

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Byte offset behind the first n characters of s (s.size() when s has fewer).
std::size_t byteOffset(std::string_view s, std::size_t n)
{
    std::size_t pos = 0;
    // A byte below 0x80 is a character of its own: most texts are ASCII to their end.
    while (n > 0 && pos < s.size() && byteAt(s, pos) < 0x80) {
        ++pos;
        --n;
    }
    while (n > 0 && pos < s.size()) {
        nextCodePoint(s, pos);
        --n;
    }
    return pos;
}

// True when s holds needle starting at byte offset pos and the match ends on a character
// boundary of s. Together with pos being a boundary this means that s and needle agree
// character for character: a byte that is invalid in the needle only because the needle ends
// there would be the start of a longer character in s, and then the end is no boundary.
bool matchesAt(std::string_view s, std::size_t pos, std::string_view needle)
{
    if (s.substr(pos, needle.size()) != needle)
        return false;
    const std::size_t end = pos + needle.size();
    std::size_t p = pos;
    while (p < end)
        nextCodePoint(s, p);
    return p == end;
}

// The reverse of foldCase(): lower-case letters of ASCII and Windows-1252 to upper case.
char32_t upperCase(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // à..þ without ÷
        return c - 0x20;
    switch (c) {
    case 0x0161: // š
        return 0x0160;
    case 0x0153: // œ
        return 0x0152;
    case 0x017E: // ž
        return 0x017D;
    case 0x00FF: // ÿ, whose upper case lies outside Latin-1
        return 0x0178;
    default:
        return c;
    }
}

} // namespace

char32_t nextCodePoint(std::string_view s, std::size_t& pos)
{
    assert(pos < s.size());
    const unsigned char b0 = byteAt(s, pos);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }

    // Sequence length and the allowed range of the second byte. Narrowing the second byte
    // is what rejects overlong forms (E0, F0), surrogates (ED) and values above U+10FFFF (F4).
    std::size_t size = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        size = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        size = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        else if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        size = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;
    }

    bool valid = size != 0 && s.size() - pos >= size;
    if (valid) {
        const unsigned char b1 = byteAt(s, pos + 1);
        valid = b1 >= low && b1 <= high;
        for (std::size_t i = 2; valid && i < size; ++i)
            valid = isContinuation(byteAt(s, pos + i));
    }
    if (!valid) {
        ++pos;
        return b0;
    }

    char32_t c = b0 & (0xFF >> (size + 1));
    for (std::size_t i = 1; i < size; ++i)
        c = (c << 6) | (byteAt(s, pos + i) & 0x3F);
    pos += size;
    return c;
}

void appendUtf8(std::string& out, char32_t c)
{
    // A value that no UTF-8 sequence can carry becomes the replacement character, so that
    // the output is always valid UTF-8.
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t length(std::string_view s)
{
    std::size_t pos = 0;
    while (pos < s.size() && byteAt(s, pos) < 0x80)
        ++pos;
    std::size_t count = pos;
    for (; pos < s.size(); ++count)
        nextCodePoint(s, pos);
    return count;
}

std::string left(std::string_view s, std::size_t n)
{
    return std::string(s.substr(0, byteOffset(s, n)));
}

std::string right(std::string_view s, std::size_t n)
{
    // Invalid bytes make UTF-8 ambiguous when read backwards, so count from the front.
    const std::size_t total = length(s);
    if (n >= total)
        return std::string(s);
    return std::string(s.substr(byteOffset(s, total - n)));
}

std::string mid(std::string_view s, std::size_t start, std::size_t n)
{
    const std::string_view rest = s.substr(byteOffset(s, start));
    return std::string(rest.substr(0, byteOffset(rest, n)));
}

std::optional<std::size_t> find(std::string_view s, std::string_view needle)
{
    std::size_t index = 0;
    for (std::size_t pos = 0; pos <= s.size(); ++index) {
        if (matchesAt(s, pos, needle))
            return index;
        if (pos == s.size())
            break;
        nextCodePoint(s, pos);
    }
    return std::nullopt;
}

std::optional<std::size_t> findLast(std::string_view s, std::string_view needle)
{
    std::optional<std::size_t> found;
    std::size_t index = 0;
    for (std::size_t pos = 0; pos <= s.size(); ++index) {
        if (matchesAt(s, pos, needle))
            found = index;
        if (pos == s.size())
            break;
        nextCodePoint(s, pos);
    }
    return found;
}

std::string_view trimmedView(std::string_view s)
{
    // A space byte never occurs inside a multi-byte sequence, so trimming bytes is safe.
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string trim(std::string_view s)
{
    return std::string(trimmedView(s));
}

bool isBlank(std::string_view s)
{
    return s.find_first_not_of(' ') == std::string_view::npos;
}

std::string toUpper(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(s, pos);
        if (pos - start == 1 && c >= 0x80)
            out += s[start]; // an invalid byte stays as it is
        else
            appendUtf8(out, upperCase(c));
    }
    return out;
}

char32_t foldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // À..Þ without ×
        return c + 0x20;
    switch (c) {
    case 0x0160: // Š
        return 0x0161;
    case 0x0152: // Œ
        return 0x0153;
    case 0x017D: // Ž
        return 0x017E;
    case 0x0178: // Ÿ
        return 0x00FF;
    default:
        return c;
    }
}

} // namespace text
