#include "text/Windows1252.h"

#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Windows1252, EveryByteRoundTrips)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    const std::string decoded = text::decodeWindows1252(bytes);
    EXPECT_EQ(text::length(decoded), 256u);
    EXPECT_EQ(text::encodeWindows1252(decoded), bytes);
}

TEST(Windows1252, ConvertsCharacters)
{
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"M\xFCller", "M\xC3\xBCller"},   {"\x80\x8A\x9A", "\xE2\x82\xAC\xC5\xA0\xC5\xA1"}, // € Š š
        {"\x9F\xFF", "\xC5\xB8\xC3\xBF"},                                                   // Ÿ ÿ
        {"\x81\x9D", "\xC2\x81\xC2\x9D"},                                                   // undefined bytes
        {"\xA0\xDF", "\xC2\xA0\xC3\x9F"},
    };
    for (const auto& [bytes, utf8] : rows) {
        EXPECT_EQ(text::decodeWindows1252(bytes), utf8);
        EXPECT_EQ(text::encodeWindows1252(utf8), bytes);
    }
}

TEST(Windows1252, WritesQuestionMarkForUnencodable)
{
    EXPECT_EQ(text::encodeWindows1252("\xC5\x82"), "?");           // ł
    EXPECT_EQ(text::encodeWindows1252("\xF0\x9F\x98\x80x"), "?x"); // emoji
    EXPECT_EQ(text::encodeWindows1252("a\xE4!"), "a?!");           // invalid UTF-8
}

} // namespace
