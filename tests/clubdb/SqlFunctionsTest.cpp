#include "clubdb/SqlFunctions.h"
#include "support/QueryRows.h"
#include "support/TempFolder.h"
#include "text/Wildcard.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace clubdb;

// LIKE counts characters, ignores the case of the Windows-1252 letters (not of ť, which has no upper case
// there) and knows no brackets.
TEST(SqlFunctionsTest, LikeMatchesWildcardsLiteralsAndCase)
{
    // clang-format off
    const std::pair<const char*, const char*> matching[] = {
        {"04-001", "%04-001%"}, {"BY-004 ", "%BY-004%"}, {"04-0011", "%04-001%"}, {"Müller", "MÜLLER"},
        {"MÜLLER", "%müll%"}, {"Élodie", "élodie"}, {"Šárka", "šÁRKA"}, {"Straße", "%STRAßE%"}, {"abc", "a_c"},
        {"aäc", "a_c"}, {"", ""}, {"", "%"}, {"x", "%%"}, {"[a]", "[a]"}, {"O'Brien", "%O_Brien%"}, {"100%", "100%"},
        {"aaab", "%aab"}, {"abab", "%ab%ab"}, {"abcab", "a%b%b"}, {"Name 1", "%name%"},
        {"a\x01" "b", "a\x01_"}, // without ESCAPE no character escapes, not even a control character
    };
    const std::pair<const char*, const char*> notMatching[] = {
        {"04-002", "%04-001%"}, {"Šťastný", "ŠŤASTNÝ"}, {"Straße", "STRASSE"}, {"ac", "a_c"}, {"abc", ""},
        {"a", "[a]"}, {"ab", "a%b%b"},
    };
    // clang-format on
    // The person index in memory relies on likeMatches() without an escape character, to answer as
    // a query's LIKE without ESCAPE does; the export-file patterns rely on wildcardMatches() alike.
    for (const auto& [text, pattern] : matching)
        EXPECT_TRUE(likeMatches(text, pattern) && text::wildcardMatches(text, pattern, U'%', U'_')) << pattern;
    for (const auto& [text, pattern] : notMatching)
        EXPECT_FALSE(likeMatches(text, pattern)) << text << " LIKE " << pattern;
    EXPECT_FALSE(likeMatches("a", std::string("\0a", 2))); // a NUL character escapes nothing either
}

// The sort order ignores case too, a shorter name before a longer one that begins like it.
TEST(SqlFunctionsTest, EveryConnectionUsesTheProgramsLikeAndSortOrder)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE p (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(20));"
               "INSERT INTO p (name) VALUES ('müller'), ('Abel'), ('MÜLLER'), ('zander'), ('Müller'), ('Zander'), "
               "('abel'), (NULL), ('MAIER'), ('Mai'), ('Muller')");
    // A field without value matches nothing, also "%".
    EXPECT_EQ(queryRows(db, std::string("SELECT (SELECT count(*) FROM p WHERE name LIKE '%ÜLL%'), (SELECT count(*) "
                                        "FROM p WHERE name LIKE '%'), group_concat(id) FROM (SELECT id FROM p WHERE "
                                        "name IS NOT NULL ORDER BY name COLLATE ") +
                                kNoCaseCollation + ", id)"),
              std::vector<std::string>{"3|10|2,7,10,9,11,1,3,5,4,6"});
    // A text ends where its view does, whatever the memory behind it holds ("Mai" of "Maier").
    EXPECT_EQ(compareIgnoringCase(std::string_view("Maier").substr(0, 3), "Maie"), -1);
}
