#pragma once

// Reads an export file line by line.
//
// The member administration writes Windows-1252 text with CR LF line ends. A line ends at
// CR LF or at a lone CR; a lone LF stays inside the line (spreadsheet programs put it into
// cells). An export copied through a mail program, a version control system or a stick may
// arrive with its line ends converted: a file that holds no CR byte at all ends its lines at LF.
//
// A UTF-8 byte-order mark at the very start makes the file UTF-8: the mark is skipped and the
// rest decoded as UTF-8, where a byte that is not valid UTF-8 is taken as a Windows-1252
// character. An export opened and saved once in an editor is UTF-8 without the mark: a file that
// is valid UTF-8 from its first to its last byte and holds at least one byte above 0x7F is read
// as UTF-8 too. Every other file is Windows-1252. Lines come back as UTF-8, without NUL bytes.
//
// Both choices are made from the whole file before the first line is handed out, in one pass
// over its bytes; then the file is read from its start. The file is read in buffered chunks and
// only the current line is held, so a federation export of any size needs no more memory than
// its longest line.

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

    // What the first readLine() decided: whether the file is read as UTF-8 (with or without
    // the mark), and whether its lines end at LF because it holds no CR.
    bool isUtf8() const { return m_utf8; }
    bool endsLinesAtLf() const { return m_lineEnd == '\n'; }

private:
    void examine();
    std::size_t read(char* into, std::size_t size);
    bool fill();

    std::FILE* m_file = nullptr;
    std::filesystem::path m_path;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_utf8 = false;
    char m_lineEnd = '\r';
    bool m_started = false;
};

} // namespace text
