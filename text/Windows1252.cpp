#include "text/Windows1252.h"

#include "text/Utf8.h"

#include <array>

namespace text {
namespace {

// Characters of the bytes 0x80..0x9F. The five bytes that Windows-1252 leaves undefined keep
// their own value, as the C1 control characters, so that no byte of an export file is lost.
constexpr std::array<char32_t, 32> kChars80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

// The character of every byte; apart from 0x80..0x9F the byte value itself (Latin-1).
constexpr std::array<char32_t, 256> makeDecodeTable()
{
    std::array<char32_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = static_cast<char32_t>(b);
    for (std::size_t i = 0; i < kChars80To9F.size(); ++i)
        table[0x80 + i] = kChars80To9F[i];
    return table;
}

constexpr std::array<char32_t, 256> kDecode = makeDecodeTable();

// The byte of character c, or '?' when Windows-1252 has none.
char encodeChar(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kChars80To9F.size(); ++i) {
        if (kChars80To9F[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

std::string decodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto value = static_cast<unsigned char>(b);
        if (value < 0x80)
            out += b;
        else
            appendUtf8(out, kDecode[value]);
    }
    return out;
}

std::string encodeWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(utf8, pos);
        const bool invalidByte = pos - start == 1 && c >= 0x80;
        out += invalidByte ? '?' : encodeChar(c);
    }
    return out;
}

} // namespace text
