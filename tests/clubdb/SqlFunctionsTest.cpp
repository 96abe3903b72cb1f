#include "clubdb/Connection.h"
#include "clubdb/SqlFunctions.h"
#include "clubdb/Statement.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace clubdb;

TEST(SqlFunctionsTest, LikeMatchesWildcardsLiteralsAndCase)
{
    struct Row
    {
        const char* text;
        const char* pattern;
        bool matches;
    };
    const Row rows[] = {
        {"04-001", "%04-001%", true},
        {"BY-004 ", "%BY-004%", true},
        {"04-0011", "%04-001%", true},
        {"04-002", "%04-001%", false},
        {"Müller", "MÜLLER", true},
        {"MÜLLER", "%müll%", true},
        {"Élodie", "élodie", true},
        {"Šťastný", "ŠŤASTNÝ", false}, // ť has no Windows-1252 upper case
        {"Šárka", "šÁRKA", true},
        {"Straße", "STRASSE", false},
        {"Straße", "%STRAßE%", true},
        {"abc", "a_c", true},
        {"aäc", "a_c", true}, // "_" is one character, not one byte
        {"ac", "a_c", false},
        {"abc", "", false},
        {"", "", true},
        {"", "%", true},
        {"x", "%%", true},
        {"[a]", "[a]", true}, // brackets are literal
        {"a", "[a]", false},
        {"O'Brien", "%O_Brien%", true},
        {"100%", "100%", true},
        {"aaab", "%aab", true},
        {"abab", "%ab%ab", true},
        {"abcab", "a%b%b", true},
        {"ab", "a%b%b", false},
        {"Name 1", "%name%", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(likeMatches(row.text, row.pattern), row.matches) << row.text << " LIKE " << row.pattern;
}

TEST(SqlFunctionsTest, CompareIgnoresCaseOfWindows1252Letters)
{
    EXPECT_EQ(compareIgnoringCase("müller", "MÜLLER"), 0);
    EXPECT_LT(compareIgnoringCase("Maier", "meyer"), 0);
    EXPECT_GT(compareIgnoringCase("Müller", "Muller"), 0);
    EXPECT_LT(compareIgnoringCase("Mai", "MAIER"), 0);
    EXPECT_EQ(compareIgnoringCase("", ""), 0);
}

TEST(SqlFunctionsTest, EveryConnectionUsesTheProgramsLikeAndSortOrder)
{
    TempFolder folder;
    Connection db = Connection::create(folder.file("t.db"));
    db.execute("CREATE TABLE p (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(20))");
    for (const char* name : {"müller", "Abel", "MÜLLER", "zander", "Müller", "Zander", "abel"}) {
        Statement insert(db, "INSERT INTO p (name) VALUES (?)");
        insert.bind(1, std::string(name)).execute();
    }

    Statement like(db, "SELECT count(*) FROM p WHERE name LIKE ?");
    like.bind(1, std::string("%ÜLL%"));
    ASSERT_TRUE(like.step());
    EXPECT_EQ(like.integer(0), 3);

    // A value without a value matches nothing, also "%".
    db.execute("INSERT INTO p (name) VALUES (NULL)");
    Statement all(db, "SELECT count(*) FROM p WHERE name LIKE '%'");
    ASSERT_TRUE(all.step());
    EXPECT_EQ(all.integer(0), 7);

    Statement sorted(db, std::string("SELECT id FROM p WHERE name IS NOT NULL ORDER BY name COLLATE ") +
                             kNoCaseCollation + ", id");
    std::vector<std::int64_t> ids;
    while (sorted.step())
        ids.push_back(sorted.integer(0));
    EXPECT_EQ(ids, (std::vector<std::int64_t>{2, 7, 1, 3, 5, 4, 6}));
}
