#include "clubdb/SqlFunctions.h"

#include "clubdb/DbError.h"
#include "text/Utf8.h"

#include <sqlite3.h>

namespace clubdb {
namespace {

std::string_view textArgument(sqlite3_value* value)
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return data ? std::string_view(data, static_cast<std::size_t>(sqlite3_value_bytes(value))) : std::string_view();
}

void likeFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    // SQL's three-valued logic: a field without value matches no pattern.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // LIKE a, b is like(b, a): the pattern comes first.
    const std::string_view pattern = textArgument(argv[0]);
    const std::string_view subject = textArgument(argv[1]);
    sqlite3_result_int(context, likeMatches(subject, pattern) ? 1 : 0);
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareIgnoringCase(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                               std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

} // namespace

bool likeMatches(std::string_view text, std::string_view pattern)
{
    // Greedy matching with one back-track point: on a mismatch, the last "%" takes one more
    // character of the text. Linear in practice, never worse than text × pattern.
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starPattern = kNone;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            std::size_t pNext = p;
            const char32_t pc = text::nextCodePoint(pattern, pNext);
            if (pc == U'%') {
                starPattern = pNext;
                starText = t;
                p = pNext;
                continue;
            }
            std::size_t tNext = t;
            const char32_t tc = text::nextCodePoint(text, tNext);
            if (pc == U'_' || text::foldCase(pc) == text::foldCase(tc)) {
                p = pNext;
                t = tNext;
                continue;
            }
        }
        if (starPattern == kNone)
            return false;
        text::nextCodePoint(text, starText);
        t = starText;
        p = starPattern;
    }
    while (p < pattern.size()) {
        if (text::nextCodePoint(pattern, p) != U'%')
            return false;
    }
    return true;
}

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = text::foldCase(text::nextCodePoint(a, i));
        const char32_t cb = text::foldCase(text::nextCodePoint(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

void installSqlFunctions(sqlite3* db)
{
    check(db, sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction,
                                      nullptr, nullptr));
    check(db, sqlite3_create_collation(db, kNoCaseCollation, SQLITE_UTF8, nullptr, collate));
}

} // namespace clubdb
