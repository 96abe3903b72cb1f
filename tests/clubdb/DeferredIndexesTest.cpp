#include "clubdb/DeferredIndexes.h"
#include "clubdb/DatenbankErstellen.h"
#include "support/QueryRows.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace clubdb;
using Lines = std::vector<std::string>;

// The members step fills the persons and memberships of a new club database without their
// indexes and builds them afterwards; the database then lists the same indexes in the same order
// as if they had been kept all along. Where those tables hold rows already, nothing changes.
TEST(DeferredIndexesTest, BuildsTheIndexesOfEmptyTablesAfterwardsInTheirOrder)
{
    const Lines own = {"IdxVNr", "IdxOrt", "IdxAbk", "IdxNamen", "IdxSchID", "IdxVereinID", "IdxMglNr", "IdxVSID"};
    const Lines kept = {"IdxVNr", "IdxOrt", "IdxAbk", "IdxSchID"};
    Lines more = own;
    more.push_back("IdxGOrt");
    // run on the new club database first, its indexes, the indexes while the step runs
    for (const auto& [before, all, during] :
         {std::tuple<const char*, Lines, Lines>{"", own, kept},
          // an index created after them is created anew too, in its place
          {"CREATE INDEX IdxGOrt ON Vereinsliste (GOrt)", more, kept},
          {"INSERT INTO Mitgliedschaft (Mgl_MglNr) VALUES ('04-001-0001 ')", own, own},
          {"INSERT INTO Schuetzendaten (M_Name) VALUES ('Huber ')", own, own}}) {
        SCOPED_TRACE(before);
        TempFolder folder;
        const std::string path = folder.file("Verein.vdb");
        // The indexes as the schema lists them, in the order of creation: names only or with their SQL.
        const auto indexes = [&](const std::string& fields) {
            return queryRows(path, "SELECT " + fields + " FROM sqlite_schema WHERE type = 'index' ORDER BY rowid");
        };
        DatenbankErstellen(path);
        Connection::open(path).execute(before);
        const Lines earlier = indexes("name, sql");
        EXPECT_EQ(indexes("name"), all);

        DeferredIndexes deferred = DeferredIndexes::defer(path, {"Schuetzendaten", "Mitgliedschaft"}, {"IdxSchID"});
        EXPECT_EQ(deferred.empty(), during == all);
        EXPECT_EQ(indexes("name"), during);
        Connection::open(path).execute(
            "INSERT INTO Schuetzendaten (M_Name, M_Vorname) VALUES ('Maier ', 'Anna '), ('Huber ', 'Josef ');"
            "INSERT INTO Mitgliedschaft (Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr) VALUES (1, 1, '04-001-0002 ')");
        deferred.build(path);
        EXPECT_EQ(indexes("name, sql"), earlier);
        EXPECT_EQ(queryRows(path, "PRAGMA integrity_check"), Lines{"ok"}); // the indexes hold every row
    }
}
