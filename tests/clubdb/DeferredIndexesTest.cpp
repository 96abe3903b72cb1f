#include "clubdb/DeferredIndexes.h"
#include "clubdb/DatenbankErstellen.h"
#include "support/QueryRows.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace clubdb;
using Lines = std::vector<std::string>;

namespace {

// The indexes as the schema lists them, in the order of creation.
Lines indexes(const std::string& path)
{
    return queryRows(path, "SELECT name, sql FROM sqlite_schema WHERE type = 'index' ORDER BY rowid");
}

Lines names(const Lines& indexes)
{
    Lines result;
    for (const std::string& index : indexes)
        result.push_back(index.substr(0, index.find('|')));
    return result;
}

} // namespace

// The members step fills the persons and memberships of a new club database without their
// indexes and builds them afterwards; the database then lists the same indexes in the same order
// as if they had been kept all along. Where those tables hold rows already, nothing changes.
TEST(DeferredIndexesTest, BuildsTheIndexesOfEmptyTablesAfterwardsInTheirOrder)
{
    const Lines own = {"IdxVNr", "IdxOrt", "IdxAbk", "IdxNamen", "IdxSchID", "IdxVereinID", "IdxMglNr", "IdxVSID"};
    const Lines kept = {"IdxVNr", "IdxOrt", "IdxAbk", "IdxSchID"};
    struct Row
    {
        const char* before; // run on the new club database first
        Lines all;          // its indexes
        Lines during;       // the indexes while the step runs
    };
    Lines more = own;
    more.push_back("IdxGOrt");
    for (const Row& row : {Row{"", own, kept},
                           // an index created after them is created anew too, in its place
                           Row{"CREATE INDEX IdxGOrt ON Vereinsliste (GOrt)", more, kept},
                           Row{"INSERT INTO Mitgliedschaft (Mgl_MglNr) VALUES ('04-001-0001 ')", own, own},
                           Row{"INSERT INTO Schuetzendaten (M_Name) VALUES ('Huber ')", own, own}}) {
        SCOPED_TRACE(row.before);
        TempFolder folder;
        const std::string path = folder.file("Verein.vdb");
        DatenbankErstellen(path);
        Connection::open(path).execute(row.before);
        const Lines before = indexes(path);
        EXPECT_EQ(names(before), row.all);

        DeferredIndexes deferred = DeferredIndexes::defer(path, {"Schuetzendaten", "Mitgliedschaft"}, {"IdxSchID"});
        EXPECT_EQ(deferred.empty(), row.during == row.all);
        EXPECT_EQ(names(indexes(path)), row.during);
        Connection::open(path).execute(
            "INSERT INTO Schuetzendaten (M_Name, M_Vorname) VALUES ('Maier ', 'Anna '), ('Huber ', 'Josef ');"
            "INSERT INTO Mitgliedschaft (Mgl_Schütze_ID, Mgl_Verein_ID, Mgl_MglNr) VALUES (1, 1, '04-001-0002 ')");
        deferred.build(path);
        EXPECT_EQ(indexes(path), before);
        EXPECT_EQ(queryRows(path, "PRAGMA integrity_check"), Lines{"ok"}); // the indexes hold every row
    }
}
