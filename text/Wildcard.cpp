#include "text/Wildcard.h"

#include "text/Utf8.h"

namespace text {

bool wildcardMatches(std::string_view subject, std::string_view pattern, char32_t anyRun, char32_t anyOne)
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
            const char32_t pc = nextCodePoint(pattern, pNext);
            if (pc == anyRun) {
                runPattern = pNext;
                runSubject = s;
                p = pNext;
                continue;
            }
            std::size_t sNext = s;
            const char32_t sc = nextCodePoint(subject, sNext);
            if (pc == anyOne || foldCase(pc) == foldCase(sc)) {
                p = pNext;
                s = sNext;
                continue;
            }
        }
        if (runPattern == kNone)
            return false;
        nextCodePoint(subject, runSubject);
        s = runSubject;
        p = runPattern;
    }
    while (p < pattern.size()) {
        if (nextCodePoint(pattern, p) != anyRun)
            return false;
    }
    return true;
}

} // namespace text
