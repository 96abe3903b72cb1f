#include "clubdb/SqlFunctions.h"

#include "clubdb/DbError.h"
#include "text/Utf8.h"
#include "text/Wildcard.h"

#include <sqlite3.h>

namespace clubdb {
namespace {

std::string_view textArgument(sqlite3_value* value)
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return data ? std::string_view(data, static_cast<std::size_t>(sqlite3_value_bytes(value))) : std::string_view();
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    // SQL's three-valued logic: a field without value matches no pattern.
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    // a LIKE b is like(b, a): the pattern comes first; a LIKE b ESCAPE c is like(b, a, c).
    const std::string_view pattern = textArgument(argv[0]);
    const std::string_view subject = textArgument(argv[1]);
    char32_t escape = 0;
    if (argc == 3) {
        const std::string_view escapeText = textArgument(argv[2]);
        std::size_t end = 0;
        if (!escapeText.empty())
            escape = text::nextCodePoint(escapeText, end);
        if (escapeText.empty() || end != escapeText.size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    sqlite3_result_int(context, likeMatches(subject, pattern, escape) ? 1 : 0);
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareIgnoringCase(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                               std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

} // namespace

bool likeMatches(std::string_view text, std::string_view pattern, char32_t escape)
{
    return text::wildcardMatches(text, pattern, U'%', U'_', escape);
}

std::string likeContains(std::string_view value)
{
    std::string pattern = "%";
    for (const char c : value) {
        if (c == '%' || c == '_' || c == kLikeEscape)
            pattern += kLikeEscape;
        pattern += c;
    }
    return pattern + "%";
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

std::string caseFolded(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            folded += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++i;
        } else {
            text::appendUtf8(folded, text::foldCase(text::nextCodePoint(text, i)));
        }
    }
    return folded;
}

void installSqlFunctions(sqlite3* db)
{
    for (const int arguments : {2, 3})
        check(db, sqlite3_create_function(db, "like", arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                          likeFunction, nullptr, nullptr));
    check(db, sqlite3_create_collation(db, kNoCaseCollation, SQLITE_UTF8, nullptr, collate));
}

} // namespace clubdb
