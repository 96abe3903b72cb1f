#include "text/Wildcard.h"

#include "text/Utf8.h"

namespace text {
namespace {

// The matching runs for every stored person a search meets; most characters are ASCII, which
// needs neither decoding nor the case table.
inline char32_t next(std::string_view s, std::size_t& pos)
{
    const auto byte = static_cast<unsigned char>(s[pos]);
    if (byte < 0x80) {
        ++pos;
        return byte;
    }
    return nextCodePoint(s, pos);
}

inline char32_t folded(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
    return foldCase(c);
}

} // namespace

bool wildcardMatches(std::string_view subject, std::string_view pattern, char32_t anyRun, char32_t anyOne,
                     char32_t escape)
{
    // Greedy matching with one back-track point: on a mismatch, the last anyRun takes one
    // more character of the subject. Linear in practice, never worse than subject × pattern.
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0;
    std::size_t s = 0;
    std::size_t runPattern = kNone;
    std::size_t runSubject = 0;
    while (s < subject.size()) {
        if (p < pattern.size()) {
            std::size_t pNext = p;
            char32_t pc = next(pattern, pNext);
            const bool literal = escape != 0 && pc == escape && pNext < pattern.size();
            if (literal)
                pc = next(pattern, pNext);
            if (pc == anyRun && !literal) {
                runPattern = pNext;
                runSubject = s;
                p = pNext;
                continue;
            }
            std::size_t sNext = s;
            const char32_t sc = next(subject, sNext);
            if ((pc == anyOne && !literal) || folded(pc) == folded(sc)) {
                p = pNext;
                s = sNext;
                continue;
            }
        }
        if (runPattern == kNone)
            return false;
        next(subject, runSubject);
        s = runSubject;
        p = runPattern;
    }
    while (p < pattern.size()) {
        if (next(pattern, p) != anyRun)
            return false;
    }
    return true;
}

} // namespace text
