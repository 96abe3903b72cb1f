#include "text/Utf8.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace text;

namespace {

std::string utf8(char32_t c)
{
    std::string s;
    appendUtf8(s, c);
    return s;
}

} // namespace

// An invalid or truncated sequence is one character per byte, so no input is ever cut short.
TEST(Utf8, DecodesValidAndRejectsInvalidSequences)
{
    const std::vector<std::pair<std::string, std::vector<char32_t>>> rows = {
        {"A\xC3\xA4\xE2\x82\xAC", {U'A', 0xE4, 0x20AC}},
        {"\xED\x9F\xBF\xF4\x8F\xBF\xBF", {0xD7FF, 0x10FFFF}},
        {"\xC0\x80", {0xC0, 0x80}},                     // overlong NUL
        {"\xE0\x80\x80", {0xE0, 0x80, 0x80}},           // overlong 3 bytes
        {"\xF0\x80\x80\x80", {0xF0, 0x80, 0x80, 0x80}}, // overlong 4 bytes
        {"\xED\xA0\x80", {0xED, 0xA0, 0x80}},           // surrogate
        {"\xF4\x90\x80\x80", {0xF4, 0x90, 0x80, 0x80}}, // above U+10FFFF
        {"\xE2\x82!", {0xE2, 0x82, U'!'}},              // truncated
        {"\x80\xFF\xF5", {0x80, 0xFF, 0xF5}},
    };
    for (const auto& [bytes, expected] : rows) {
        std::vector<char32_t> decoded;
        for (std::size_t pos = 0; pos < bytes.size();)
            decoded.push_back(nextCodePoint(bytes, pos));
        EXPECT_EQ(decoded, expected) << testing::PrintToString(bytes);
    }
    for (char32_t c = 0; c <= 0x10FFFF; c += c == 0xD7FF ? 0x801 : 1) {
        const std::string s = utf8(c);
        std::size_t pos = 0;
        ASSERT_EQ(std::pair(nextCodePoint(s, pos), pos), std::pair(c, s.size()));
    }
    EXPECT_EQ(utf8(0xD800), "\xEF\xBF\xBD");
}

TEST(Utf8, CutsFindsAndTrimsByCharacters)
{
    const std::string s = "M\xC3\xBCller\xE4"; // "Müller" and an invalid byte: 7 characters
    EXPECT_EQ(length(s), 7u);
    EXPECT_EQ(left(s, 2), "M\xC3\xBC");
    EXPECT_EQ(left(s, 99), s);
    EXPECT_EQ(right(s, 2), "r\xE4");
    EXPECT_EQ(right(s, 99), s);
    EXPECT_EQ(mid(s, 1, 3), "\xC3\xBCll");
    EXPECT_EQ(mid(s, 5), "r\xE4");
    EXPECT_EQ(mid(s, 7, 1), "");

    using Pos = std::optional<std::size_t>;
    const std::vector<std::tuple<std::string, std::string, Pos, Pos>> rows = {
        {"Sch\xC3\xBCtzenverein", "verein", 8, 8},
        {"\xC3\xA4-\xC3\xA4", "\xC3\xA4", 0, 2},
        {"abc", "x", std::nullopt, std::nullopt},
        {"\xC3\x80", "\x80", std::nullopt, std::nullopt}, // bytes inside one character do not match
        {"\xC3\xA4", "\xC3", std::nullopt, std::nullopt},
        {"a\x80z\x80", "\x80", 1, 3},
    };
    for (const auto& [text, needle, first, last] : rows)
        EXPECT_EQ(std::pair(find(text, needle), findLast(text, needle)), std::pair(first, last)) << text;

    EXPECT_EQ(trim("  \tA B \t "), "\tA B \t");
    EXPECT_EQ(trim("   "), "");
    EXPECT_TRUE(isBlank("   "));
    EXPECT_FALSE(isBlank(" \t "));
}

TEST(Utf8, CaseCoversWindows1252Letters)
{
    const std::vector<std::pair<char32_t, char32_t>> pairs = {
        {U'A', U'a'},     {U'Z', U'z'},     {0xC0, 0xE0},     {0xD6, 0xF6},     {0xDE, 0xFE},
        {0x0160, 0x0161}, {0x0152, 0x0153}, {0x017D, 0x017E}, {0x0178, 0x00FF},
    };
    for (const auto& [upper, lower] : pairs) {
        EXPECT_EQ(std::pair(foldCase(upper), foldCase(lower)), std::pair(lower, lower));
        EXPECT_EQ(toUpper(utf8(lower)), utf8(upper));
    }
    for (const char32_t same : {U'@', U'[', U'\u00D7', U'\u00F7', U'\u00DF', U'\u00B5'}) { // × ÷ ß µ
        EXPECT_EQ(foldCase(same), same);
        EXPECT_EQ(toUpper(utf8(same)), utf8(same));
    }
    EXPECT_EQ(toUpper("a\xE4!"), "A\xE4!"); // an invalid byte stays
}

TEST(Windows1252, EveryByteRoundTripsAndTheRestBecomesAQuestionMark)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(length(decodeWindows1252(bytes)), 256u);
    EXPECT_EQ(encodeWindows1252(decodeWindows1252(bytes)), bytes);

    const std::vector<std::pair<std::string, std::string>> rows = {
        {"M\xFCller", "M\xC3\xBCller"},   {"\x80\x8A\x9A", "\xE2\x82\xAC\xC5\xA0\xC5\xA1"}, // € Š š
        {"\x9F\xFF", "\xC5\xB8\xC3\xBF"},                                                   // Ÿ ÿ
        {"\x81\x9D", "\xC2\x81\xC2\x9D"},                                                   // undefined bytes
        {"\xA0\xDF", "\xC2\xA0\xC3\x9F"},
    };
    for (const auto& [cp1252, utf8] : rows) {
        EXPECT_EQ(decodeWindows1252(cp1252), utf8);
        EXPECT_EQ(encodeWindows1252(utf8), cp1252);
    }
    EXPECT_EQ(encodeWindows1252("\xC5\x82"), "?");           // ł
    EXPECT_EQ(encodeWindows1252("\xF0\x9F\x98\x80x"), "?x"); // emoji
    EXPECT_EQ(encodeWindows1252("a\xE4!"), "a?!");           // invalid UTF-8
}
