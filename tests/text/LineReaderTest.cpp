#include "text/LineReader.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

// The lines of a file with the content, and whether the reader took it as UTF-8.
std::pair<Lines, bool> readAll(const std::string& content)
{
    const TempFolder folder;
    std::ofstream(folder.file("export.txt"), std::ios::binary) << content;
    text::LineReader reader(folder.file("export.txt"));
    Lines lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.readLine(line));
    return {lines, reader.isUtf8()};
}

} // namespace

TEST(LineReader, SplitsLines)
{
    const std::vector<std::tuple<std::string, Lines, bool>> rows = {
        {"a\r\nb\r\n", {"a", "b"}, false},
        {"a\rb", {"a", "b"}, false},
        {"a\r\nb\rc\nd", {"a", "b", "c\nd"}, false},
        {"a\r\n\r\nb", {"a", "", "b"}, false},
        {"", {}, false},
        {"\r\r\r", {"", "", ""}, false},
        {"\n\n", {"\n\n"}, false},
        {"x\0y\r\n"s, {"xy"}, false}, // a NUL byte would cut a stored text short
        {"M\xFCller\r\nG\xE4rtner", {"M\xC3\xBCller", "G\xC3\xA4rtner"}, false},
        {"\xEF\xBB\xBFM\xC3\xBCller\r\nG\xC3\xA4rtner\r\n", {"M\xC3\xBCller", "G\xC3\xA4rtner"}, true},
        {"\xEF\xBB\xBFx\xE4", {"x\xC3\xA4"}, true}, // invalid UTF-8 taken as Windows-1252
        {"\xEF\xBB\xBF", {}, true},
        {"a\xEF\xBB\xBF", {"a\xC3\xAF\xC2\xBB\xC2\xBF"}, false}, // a mark later on is text
    };
    for (const auto& [content, expected, isUtf8] : rows)
        EXPECT_EQ(readAll(content), std::pair(expected, isUtf8)) << testing::PrintToString(content);
}

// Line ends and characters split between the reader's chunks of 64 KiB.
TEST(LineReader, LineEndsAcrossChunkBoundary)
{
    const std::size_t kChunk = 64 * 1024;
    for (const std::size_t size : {kChunk - 2, kChunk - 1, kChunk}) {
        const std::string a(size, 'a');
        EXPECT_EQ(readAll(a + "\r\nb").first, (Lines{a, "b"})) << size;
        EXPECT_EQ(readAll(a + "\r\rb").first, (Lines{a, "", "b"})) << size;
    }
    const std::string a(kChunk - 4, 'a');
    EXPECT_EQ(readAll("\xEF\xBB\xBF" + a + "\xC3\xA4\r\n").first, Lines{a + "\xC3\xA4"});
}

TEST(LineReader, ReportsErrors)
{
    const TempFolder folder;
    try {
        text::LineReader reader(folder.file("missing.txt"));
        FAIL() << "no exception";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), ENOENT);
    }
    // A folder opens for reading on this platform, but reading from it fails.
    text::LineReader reader(folder.path());
    std::string line;
    EXPECT_THROW(reader.readLine(line), std::system_error);
}
