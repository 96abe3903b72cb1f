#pragma once

// Reads an export file line by line.
//
// The member administration writes Windows-1252 text with CR LF line ends. A line ends at
// CR LF or at a lone CR; a lone LF stays inside the line (spreadsheet programs put it into
// cells). A UTF-8 byte-order mark at the very start switches the file to UTF-8: the mark is
// skipped and the rest decoded as UTF-8, where a byte that is not valid UTF-8 is taken as a
// Windows-1252 character. Lines come back as UTF-8, without NUL bytes.
//
// The file is read in buffered chunks; only the current line is held, so a federation
// export of any size needs no more memory than its longest line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace text {

class LineReader
{
public:
    // Opens the file; throws std::system_error when it cannot be opened.
    explicit LineReader(const std::filesystem::path& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads the next line into line, without its line end. Returns false at the end of the
    // file. A file that ends with a line end has no empty line after it; an empty file has
    // no line. Throws std::system_error when reading fails.
    bool readLine(std::string& line);

    // True when the file began with a UTF-8 byte-order mark.
    bool isUtf8() const { return m_utf8; }

private:
    bool fill();

    std::FILE* m_file = nullptr;
    std::filesystem::path m_path;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_utf8 = false;
    bool m_started = false;
};

} // namespace text
