#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string utf8(char32_t c)
{
    std::string s;
    text::appendUtf8(s, c);
    return s;
}

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
            decoded.push_back(text::nextCodePoint(bytes, pos));
        EXPECT_EQ(decoded, expected) << testing::PrintToString(bytes);
    }
}

TEST(Utf8, AppendRoundTripsEveryCodePoint)
{
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::string s = utf8(c);
        std::size_t pos = 0;
        ASSERT_EQ(text::nextCodePoint(s, pos), c);
        ASSERT_EQ(pos, s.size());
    }
    EXPECT_EQ(utf8(0xD800), "\xEF\xBF\xBD");
}

TEST(Utf8, CutsCountCharacters)
{
    const std::string s = "M\xC3\xBCller\xE4"; // "Müller" and an invalid byte: 7 characters
    EXPECT_EQ(text::length(s), 7u);
    EXPECT_EQ(text::left(s, 2), "M\xC3\xBC");
    EXPECT_EQ(text::left(s, 99), s);
    EXPECT_EQ(text::right(s, 2), "r\xE4");
    EXPECT_EQ(text::right(s, 99), s);
    EXPECT_EQ(text::mid(s, 1, 3), "\xC3\xBCll");
    EXPECT_EQ(text::mid(s, 5), "r\xE4");
    EXPECT_EQ(text::mid(s, 7, 1), "");
}

TEST(Utf8, FindsCharacterPositions)
{
    using Pos = std::optional<std::size_t>;
    const std::vector<std::tuple<std::string, std::string, Pos, Pos>> rows = {
        {"Sch\xC3\xBCtzenverein", "verein", 8, 8},
        {"\xC3\xA4-\xC3\xA4", "\xC3\xA4", 0, 2},
        {"abc", "x", std::nullopt, std::nullopt},
        {"\xC3\x80", "\x80", std::nullopt, std::nullopt}, // bytes inside one character do not match
        {"\xC3\xA4", "\xC3", std::nullopt, std::nullopt},
        {"a\x80z\x80", "\x80", 1, 3},
    };
    for (const auto& [s, needle, first, last] : rows) {
        EXPECT_EQ(text::find(s, needle), first) << s;
        EXPECT_EQ(text::findLast(s, needle), last) << s;
    }
}

TEST(Utf8, TrimsSpacesOnly)
{
    EXPECT_EQ(text::trim("  \tA B \t "), "\tA B \t");
    EXPECT_EQ(text::trim("   "), "");
    EXPECT_TRUE(text::isBlank("   "));
    EXPECT_FALSE(text::isBlank(" \t "));
}

TEST(Utf8, CaseCoversWindows1252Letters)
{
    const std::vector<std::pair<char32_t, char32_t>> pairs = {
        {U'A', U'a'},     {U'Z', U'z'},     {0xC0, 0xE0},     {0xD6, 0xF6},     {0xDE, 0xFE},
        {0x0160, 0x0161}, {0x0152, 0x0153}, {0x017D, 0x017E}, {0x0178, 0x00FF},
    };
    for (const auto& [upper, lower] : pairs) {
        EXPECT_EQ(text::foldCase(upper), lower);
        EXPECT_EQ(text::foldCase(lower), lower);
        EXPECT_EQ(text::toUpper(utf8(lower)), utf8(upper));
    }
    for (const char32_t same : {U'@', U'[', U'\u00D7', U'\u00F7', U'\u00DF', U'\u00B5'}) { // × ÷ ß µ
        EXPECT_EQ(text::foldCase(same), same);
        EXPECT_EQ(text::toUpper(utf8(same)), utf8(same));
    }
    EXPECT_EQ(text::toUpper("a\xE4!"), "A\xE4!"); // an invalid byte stays
}

} // namespace
