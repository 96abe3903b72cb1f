#include "text/LineReader.h"
#include "text/Utf8.h"
#include "text/Windows1252.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <tuple>
#include <vector>

using namespace text;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

std::string utf8(char32_t c)
{
    std::string s;
    appendUtf8(s, c);
    return s;
}

// The lines of a file with the content, and how the reader took it: "1252" or "UTF-8", and
// whether CR ("CR") or LF ("LF") ends its lines.
std::pair<Lines, std::string> readAll(const std::string& content)
{
    const TempFolder folder;
    std::ofstream(folder.file("export.txt"), std::ios::binary) << content;
    LineReader reader(folder.file("export.txt"));
    Lines lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.readLine(line));
    return {lines, std::string(reader.isUtf8() ? "UTF-8" : "1252") + (reader.endsLinesAtLf() ? " LF" : " CR")};
}

} // namespace

// An invalid or truncated sequence is one character per byte, so no input is ever cut short.
TEST(Utf8, DecodesValidAndRejectsInvalidSequences)
{
    // clang-format off
    const std::vector<std::pair<std::string, std::vector<char32_t>>> rows = {
        {"A\xC3\xA4\xE2\x82\xAC", {U'A', 0xE4, 0x20AC}}, {"\xED\x9F\xBF\xF4\x8F\xBF\xBF", {0xD7FF, 0x10FFFF}},
        {"\xC0\x80", {0xC0, 0x80}}, {"\xE0\x80\x80", {0xE0, 0x80, 0x80}}, {"\xF0\x80\x80\x80", {0xF0, 0x80, 0x80, 0x80}},
        {"\xED\xA0\x80", {0xED, 0xA0, 0x80}}, {"\xF4\x90\x80\x80", {0xF4, 0x90, 0x80, 0x80}},
        {"\xE2\x82!", {0xE2, 0x82, U'!'}}, {"\x80\xFF\xF5", {0x80, 0xFF, 0xF5}},
    };
    // clang-format on
    for (const auto& [bytes, expected] : rows) {
        std::vector<char32_t> decoded;
        for (std::size_t pos = 0; pos < bytes.size();)
            decoded.push_back(nextCodePoint(bytes, pos));
        EXPECT_EQ(decoded, expected) << testing::PrintToString(bytes);
    }
    for (char32_t c = 0; c <= 0x10FFFF; c += c == 0xD7FF ? 0x801 : 1) { // every code point but the surrogates
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
    EXPECT_EQ(Lines({left(s, 2), left(s, 99), right(s, 2), right(s, 99), mid(s, 1, 3), mid(s, 5), mid(s, 7, 1)}),
              Lines({"M\xC3\xBC", s, "r\xE4", s, "\xC3\xBCll", "r\xE4", ""}));
    using Pos = std::optional<std::size_t>;
    const std::vector<std::tuple<std::string, std::string, Pos, Pos>> rows = {
        {"Sch\xC3\xBCtzenverein", "verein", 8, 8},        {"\xC3\xA4-\xC3\xA4", "\xC3\xA4", 0, 2},
        {"abc", "x", std::nullopt, std::nullopt},         {"\xC3\x80", "\x80", std::nullopt, std::nullopt},
        {"\xC3\xA4", "\xC3", std::nullopt, std::nullopt}, {"a\x80z\x80", "\x80", 1, 3}};
    for (const auto& [text, needle, first, last] : rows)
        EXPECT_EQ(std::pair(find(text, needle), findLast(text, needle)), std::pair(first, last)) << text;
    EXPECT_EQ(trim("  \tA B \t "), "\tA B \t");
    EXPECT_FALSE(isBlank(" \t "));
}

TEST(Utf8, CaseCoversWindows1252Letters)
{
    const std::vector<std::pair<char32_t, char32_t>> pairs = {
        {U'A', U'a'},     {U'Z', U'z'},     {0xC0, 0xE0},     {0xD6, 0xF6},     {0xDE, 0xFE},
        {0x0160, 0x0161}, {0x0152, 0x0153}, {0x017D, 0x017E}, {0x0178, 0x00FF}, {U'@', U'@'},
        {U'[', U'['},     {0xD7, 0xD7},     {0xF7, 0xF7},     {0xDF, 0xDF},     {0xB5, 0xB5}, // × ÷ ß µ stay
    };
    for (const auto& [upper, lower] : pairs) {
        EXPECT_EQ(std::pair(foldCase(upper), foldCase(lower)), std::pair(lower, lower));
        EXPECT_EQ(toUpper(utf8(lower)), utf8(upper));
    }
    EXPECT_EQ(toUpper("a\xE4!"), "A\xE4!"); // an invalid byte stays
}

// Every byte round-trips, the five undefined ones too; what Windows-1252 lacks is written "?".
TEST(Windows1252, EveryByteRoundTripsAndTheRestBecomesAQuestionMark)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(length(decodeWindows1252(bytes)), 256u);
    EXPECT_EQ(encodeWindows1252(decodeWindows1252(bytes)), bytes);
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"M\xFCller", "M\xC3\xBCller"}, {"\x80\x8A\x9A", "\xE2\x82\xAC\xC5\xA0\xC5\xA1"}, {"\x9F\xFF", "\xC5\xB8\xC3\xBF"},
        {"\x81\x9D", "\xC2\x81\xC2\x9D"}, {"\xA0\xDF", "\xC2\xA0\xC3\x9F"}};
    // clang-format on
    for (const auto& [cp1252, utf8] : rows)
        EXPECT_EQ(std::pair(decodeWindows1252(cp1252), encodeWindows1252(utf8)), std::pair(utf8, cp1252));
    EXPECT_EQ(encodeWindows1252("\xC5\x82|\xF0\x9F\x98\x80x|a\xE4!"), "?|?x|a?!"); // ł, emoji, invalid UTF-8
}

// A file re-saved by an editor or with its line ends converted on the way reads as the export
// did; an export as the member administration writes it reads as it always has.
TEST(LineReader, SplitsLinesAndChoosesLineEndAndEncodingFromTheWholeFile)
{
    const std::string ae = "\xC3\xA4";           // ä in UTF-8
    const std::string euro = "\xE2\x82\xAC";     // three bytes
    const std::string face = "\xF0\x9F\x98\x80"; // four bytes
    // clang-format off
    const std::vector<std::tuple<std::string, Lines, std::string>> rows = {
        {"a\r\nb\r\n", {"a", "b"}, "1252 CR"}, {"a\r\nb\rc\nd", {"a", "b", "c\nd"}, "1252 CR"},
        {"a\r\n\r\nb", {"a", "", "b"}, "1252 CR"}, {"", {}, "1252 LF"}, {"\r\r\r", {"", "", ""}, "1252 CR"},
        {"\n\n\r", {"\n\n"}, "1252 CR"}, {"x\0y\r\n"s, {"xy"}, "1252 CR"}, // a NUL byte would cut a stored text short
        {"M\xFCller\r\nG\xE4rtner", {"M\xC3\xBCller", "G\xC3\xA4rtner"}, "1252 CR"},
        {"\xEF\xBB\xBFM\xC3\xBCller\r\nG\xC3\xA4rtner\r\n", {"M\xC3\xBCller", "G\xC3\xA4rtner"}, "UTF-8 CR"},
        {"\xEF\xBB\xBFx\xE4", {"x\xC3\xA4"}, "UTF-8 LF"}, // invalid UTF-8 taken as Windows-1252
        {"\xEF\xBB\xBF", {}, "UTF-8 LF"},
        {"a\xEF\xBB\xBF\xE4", {"a\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA4"}, "1252 LF"}, // a mark later on is text
        // Line ends converted to LF: without a CR anywhere, LF ends the line.
        {"a\nb\n", {"a", "b"}, "1252 LF"}, {"a\n\nb", {"a", "", "b"}, "1252 LF"},
        {"M\xFCller\n", {"M\xC3\xBCller"}, "1252 LF"},
        // UTF-8 without the mark: valid from the first to the last byte, with a byte above 0x7F.
        {"M" + ae + "ller\nG" + ae + "rtner", {"M" + ae + "ller", "G" + ae + "rtner"}, "UTF-8 LF"},
        {euro + face + "\r\n", {euro + face}, "UTF-8 CR"}, {"Muller\r\n", {"Muller"}, "1252 CR"},
        {ae + "\xE4\r\n", {"\xC3\x83\xC2\xA4\xC3\xA4"}, "1252 CR"},
        {"a\xC3", {"a\xC3\x83"}, "1252 LF"}, // cut off at the end
        {"\xED\xA0\x80", {"\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, "1252 LF"}, // a surrogate is no UTF-8
    };
    // clang-format on
    for (const auto& [content, expected, kind] : rows)
        EXPECT_EQ(readAll(content), std::pair(expected, kind)) << testing::PrintToString(content);

    // Line ends and characters split between the reader's chunks of 64 KiB, a file that ends
    // with its last chunk; a CR or an invalid byte far behind the first chunk still decides.
    const std::size_t kChunk = 64 * 1024;
    for (const std::size_t size : {kChunk - 3, kChunk - 2, kChunk - 1, kChunk}) {
        const std::string a(size, 'a');
        EXPECT_EQ(readAll(a + "\r\nb").first, (Lines{a, "b"})) << size;
        EXPECT_EQ(readAll(a + "\r\rb").first, (Lines{a, "", "b"})) << size;
        EXPECT_EQ(readAll(a + "\r\n").first, Lines{a}) << size; // no empty line after the last chunk
        for (const std::string& c : {ae, euro, face})
            EXPECT_EQ(readAll(a + c + "\n" + c), std::pair(Lines{a + c, c}, std::string("UTF-8 LF"))) << size;
        EXPECT_EQ(readAll(a + "\xE2\x82"), std::pair(Lines{a + "\xC3\xA2\xE2\x80\x9A"}, std::string("1252 LF")))
            << size;
    }
    const std::string a(kChunk - 4, 'a');
    EXPECT_EQ(readAll("\xEF\xBB\xBF" + a + ae + "\r\n").first, Lines{a + ae});
    const std::string far(3 * kChunk, 'a');
    EXPECT_EQ(readAll("x\ny" + ae + far + "\r"), std::pair(Lines{"x\ny" + ae + far}, std::string("UTF-8 CR")));
    EXPECT_EQ(readAll(ae + "\r\n" + far + "\xE4"),
              std::pair(Lines{"\xC3\x83\xC2\xA4", far + "\xC3\xA4"}, std::string("1252 CR")));
}
