#include "text/LineReader.h"

#include "text/Utf8.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>
#include <utility>

namespace text {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::string_view kMark = "\xEF\xBB\xBF"; // the UTF-8 byte-order mark

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

struct Utf8Check
{
    std::size_t checked = 0; // bytes judged valid from the start
    bool invalid = false;    // the byte at checked is not valid UTF-8
};

// Checks the bytes of s for UTF-8 and notes in high whether one of them lies above 0x7F. Stops
// at the first byte that is not valid UTF-8. A character that the end of s may have cut off is
// left for the next chunk when the file goes on (atEnd false), so that a character split
// between two chunks is judged whole; at the end of the file it is invalid.
Utf8Check checkUtf8(std::string_view s, bool atEnd, bool& high)
{
    std::size_t pos = 0;
    while (pos < s.size()) {
        // Runs of ASCII, by far the most of an export, eight bytes at a time.
        std::uint64_t eight = 0;
        if (s.size() - pos >= 8) {
            std::memcpy(&eight, s.data() + pos, 8);
            if ((eight & 0x8080808080808080u) == 0) {
                pos += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(s[pos]) < 0x80) {
            ++pos;
            continue;
        }
        high = true;
        const std::size_t begin = pos;
        if (!nextIsInvalid(s, pos))
            continue;
        return {begin, atEnd || s.size() - begin >= 4};
    }
    return {pos, false};
}

// A UTF-8 line is collected as raw bytes, because a character may be split between two
// chunks. Once the line is complete, every byte that is not part of valid UTF-8 is taken
// as a Windows-1252 character, so that no byte of the export is lost.
void repairUtf8(std::string& line)
{
    bool high = false;
    const std::size_t firstInvalid = checkUtf8(line, true, high).checked;
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

// Reads up to size bytes; fewer only at the end of the file. Throws std::system_error when
// reading fails.
std::size_t LineReader::read(char* into, std::size_t size)
{
    errno = 0;
    const std::size_t got = std::fread(into, 1, size, m_file);
    if (got < size && std::ferror(m_file))
        throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(), m_path.string());
    return got;
}

// Replaces the buffer with the next chunk of the file. Returns false when the file has
// no more bytes.
bool LineReader::fill()
{
    m_pos = 0;
    m_end = 0;
    if (m_eof)
        return false;
    m_end = read(m_buffer.data(), m_buffer.size());
    m_eof = m_end < m_buffer.size();
    return m_end > 0;
}

// The pass over the whole file that decides its line end and its encoding, chunk by chunk;
// then back to the file's start. A file that holds a CR and is known not to be UTF-8 without
// the mark, as every export of the member administration, is decided by its first chunk.
void LineReader::examine()
{
    bool mark = false;
    bool cr = false;
    bool valid = true;
    bool high = false;
    std::size_t kept = 0; // the start of a character cut off by the chunk's end, moved to the front
    for (bool first = true;; first = false) {
        const std::size_t wanted = m_buffer.size() - kept;
        const std::size_t got = read(m_buffer.data() + kept, wanted);
        const bool atEnd = got < wanted;
        const std::string_view bytes(m_buffer.data(), kept + got);
        if (first)
            mark = bytes.starts_with(kMark);
        cr = cr || std::memchr(bytes.data(), '\r', bytes.size()) != nullptr;
        kept = 0;
        if (valid && !mark) {
            const Utf8Check check = checkUtf8(bytes, atEnd, high);
            valid = !check.invalid;
            if (valid) {
                kept = bytes.size() - check.checked;
                std::memmove(m_buffer.data(), bytes.data() + check.checked, kept);
            }
        }
        if (atEnd || (cr && (mark || !valid)))
            break;
    }
    m_utf8 = mark || (valid && high);
    m_lineEnd = cr ? '\r' : '\n';

    errno = 0;
    if (std::fseek(m_file, 0, SEEK_SET) != 0)
        throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(), m_path.string());
    m_eof = false;
}

bool LineReader::readLine(std::string& line)
{
    line.clear();
    if (!m_started) {
        examine();
        m_started = true;
        fill();
        if (std::string_view(m_buffer.data(), m_end).starts_with(kMark))
            m_pos = kMark.size();
    }

    bool hasLine = false;
    for (;;) {
        if (m_pos == m_end && !fill())
            break; // end of file; a last line without line end is complete now
        hasLine = true;

        const char* begin = m_buffer.data() + m_pos;
        const std::size_t available = m_end - m_pos;
        const auto* lineEnd = static_cast<const char*>(std::memchr(begin, m_lineEnd, available));
        const std::size_t length = lineEnd != nullptr ? static_cast<std::size_t>(lineEnd - begin) : available;
        if (m_utf8)
            line.append(begin, length);
        else
            appendWindows1252(line, std::string_view(begin, length));
        m_pos += length;
        if (lineEnd == nullptr)
            continue;

        // The line end is taken; an LF right after a CR belongs to it, even when it arrives
        // with the next chunk.
        ++m_pos;
        if (m_lineEnd == '\r') {
            if (m_pos == m_end)
                fill();
            if (m_pos < m_end && m_buffer[m_pos] == '\n')
                ++m_pos;
        }
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
