#include "text/LineReader.h"

#include "text/Utf8.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>
#include <utility>

namespace text {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

// Appends Windows-1252 bytes to line as UTF-8. Runs of ASCII, by far the most of an export,
// are copied as they are.
void appendWindows1252(std::string& line, std::string_view bytes)
{
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80)
            continue;
        line.append(bytes.substr(runStart, i - runStart));
        line += decodeWindows1252(bytes.substr(i, 1));
        runStart = i + 1;
    }
    line.append(bytes.substr(runStart));
}

// True when the character at pos is a byte that is not valid UTF-8; advances pos past it.
bool nextIsInvalid(std::string_view s, std::size_t& pos)
{
    const std::size_t begin = pos;
    const char32_t c = nextCodePoint(s, pos);
    return pos - begin == 1 && c >= 0x80;
}

// A UTF-8 line is collected as raw bytes, because a character may be split between two
// chunks. Once the line is complete, every byte that is not part of valid UTF-8 is taken
// as a Windows-1252 character, so that no byte of the export is lost.
void repairUtf8(std::string& line)
{
    std::size_t firstInvalid = line.size();
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t begin = pos;
        if (nextIsInvalid(line, pos)) {
            firstInvalid = begin;
            break;
        }
    }
    if (firstInvalid == line.size())
        return; // valid throughout, the common case

    std::string repaired(line, 0, firstInvalid);
    for (std::size_t pos = firstInvalid; pos < line.size();) {
        const std::size_t begin = pos;
        if (nextIsInvalid(line, pos))
            repaired += decodeWindows1252(std::string_view(line).substr(begin, 1));
        else
            repaired.append(line, begin, pos - begin);
    }
    line = std::move(repaired);
}

} // namespace

LineReader::LineReader(const std::filesystem::path& path) : m_path(path)
{
    m_buffer.resize(kChunkSize); // before opening, so that a failed allocation leaks no file
    const std::string name = path.string();
    m_file = std::fopen(name.c_str(), "rb");
    if (m_file == nullptr)
        throw std::system_error(errno, std::generic_category(), name);
}

LineReader::~LineReader()
{
    if (m_file != nullptr)
        std::fclose(m_file);
}

// Replaces the buffer with the next chunk of the file. Returns false when the file has
// no more bytes.
bool LineReader::fill()
{
    m_pos = 0;
    m_end = 0;
    if (m_eof)
        return false;
    errno = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (m_end < m_buffer.size()) {
        if (std::ferror(m_file)) {
            const int error = errno != 0 ? errno : EIO;
            m_end = 0;
            throw std::system_error(error, std::generic_category(), m_path.string());
        }
        m_eof = true;
    }
    return m_end > 0;
}

bool LineReader::readLine(std::string& line)
{
    line.clear();
    if (!m_started) {
        m_started = true;
        fill();
        if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
            m_utf8 = true;
            m_pos = 3;
        }
    }

    bool hasLine = false;
    for (;;) {
        if (m_pos == m_end && !fill())
            break; // end of file; a last line without line end is complete now
        hasLine = true;

        const char* begin = m_buffer.data() + m_pos;
        const std::size_t available = m_end - m_pos;
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', available));
        const std::size_t length = cr != nullptr ? static_cast<std::size_t>(cr - begin) : available;
        if (m_utf8)
            line.append(begin, length);
        else
            appendWindows1252(line, std::string_view(begin, length));
        m_pos += length;
        if (cr == nullptr)
            continue;

        // CR ends the line; an LF right after it belongs to the line end, even when it
        // arrives with the next chunk.
        ++m_pos;
        if (m_pos == m_end)
            fill();
        if (m_pos < m_end && m_buffer[m_pos] == '\n')
            ++m_pos;
        break;
    }

    if (m_utf8)
        repairUtf8(line);
    // A NUL byte has no place in a text: the programs that read the club database would end
    // the stored text there, so it is dropped.
    std::erase(line, '\0');
    return hasLine;
}

} // namespace text
