#include "text/LineReader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;

// The reader's chunk size; the boundary tests place line ends around it.
constexpr std::size_t kChunk = 64 * 1024;

class LineReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir =
            std::filesystem::temp_directory_path() / ("tvx_linereader_" + std::to_string(std::random_device{}()) + "_" +
                                                      testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::vector<std::string> readAll(const std::string& content, bool* utf8 = nullptr)
    {
        const auto path = m_dir / "export.txt";
        std::ofstream(path, std::ios::binary) << content;
        text::LineReader reader(path);
        std::vector<std::string> lines;
        std::string line;
        while (reader.readLine(line))
            lines.push_back(line);
        EXPECT_FALSE(reader.readLine(line));
        if (utf8 != nullptr)
            *utf8 = reader.isUtf8();
        return lines;
    }

    std::filesystem::path m_dir;
};

using Lines = std::vector<std::string>;

TEST_F(LineReaderTest, SplitsLines)
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
    for (const auto& [content, expected, isUtf8] : rows) {
        bool utf8 = !isUtf8;
        EXPECT_EQ(readAll(content, &utf8), expected) << testing::PrintToString(content);
        EXPECT_EQ(utf8, isUtf8) << testing::PrintToString(content);
    }
}

TEST_F(LineReaderTest, LineEndsAcrossChunkBoundary)
{
    for (const std::size_t size : {kChunk - 2, kChunk - 1, kChunk}) {
        const std::string a(size, 'a');
        EXPECT_EQ(readAll(a + "\r\nb"), (Lines{a, "b"})) << size;
        EXPECT_EQ(readAll(a + "\r\rb"), (Lines{a, "", "b"})) << size;
    }
    // "ä" split between the chunks of a UTF-8 file.
    const std::string a(kChunk - 4, 'a');
    EXPECT_EQ(readAll("\xEF\xBB\xBF" + a + "\xC3\xA4\r\n"), Lines{a + "\xC3\xA4"});
}

TEST_F(LineReaderTest, ReportsErrors)
{
    try {
        text::LineReader reader(m_dir / "missing.txt");
        FAIL() << "no exception";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), ENOENT);
    }

    // A folder opens for reading on this platform, but reading from it fails.
    text::LineReader folder(m_dir);
    std::string line;
    EXPECT_THROW(folder.readLine(line), std::system_error);
}

} // namespace
