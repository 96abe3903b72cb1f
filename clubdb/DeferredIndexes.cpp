#include "clubdb/DeferredIndexes.h"

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"

#include <algorithm>

namespace clubdb {
namespace {

bool named(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool holdsRows(Connection& db, const std::string& table)
{
    Statement any(db, "SELECT 1 FROM " + quoteName(table) + " LIMIT 1");
    return any.step();
}

} // namespace

DeferredIndexes DeferredIndexes::defer(const std::string& path, const std::vector<std::string>& tables,
                                       const std::vector<std::string>& kept)
{
    DeferredIndexes deferred;
    try {
        Connection db = Connection::open(path);
        Transaction transaction(db);
        for (const std::string& table : tables) {
            if (holdsRows(db, table))
                return {};
        }
        {
            Statement indexes(db, "SELECT name, tbl_name, sql FROM sqlite_schema WHERE type = 'index' ORDER BY rowid");
            while (indexes.step()) {
                if (deferred.m_indexes.empty() && !named(tables, indexes.text(1)))
                    continue;
                // The index of a constraint has no definition of its own to create it again by.
                if (indexes.isNull(2))
                    return {};
                deferred.m_indexes.push_back({indexes.text(0), indexes.text(2), named(kept, indexes.text(0))});
            }
        }
        if (std::all_of(deferred.m_indexes.begin(), deferred.m_indexes.end(), [](const Index& i) { return i.kept; }))
            return {};
        for (const Index& index : deferred.m_indexes) {
            if (!index.kept)
                db.execute("DROP INDEX " + quoteName(index.name));
        }
        transaction.commit();
    } catch (const DbError&) {
        return {};
    }
    return deferred;
}

void DeferredIndexes::build(const std::string& path)
{
    if (m_indexes.empty())
        return;
    Connection db = Connection::open(path);
    // The engine sorts an index's entries in runs of the page cache's size and merges the runs
    // from temporary files. Runs of a few megabytes stay in the processor's caches; runs of the
    // usual 64 MB would be sorted from main memory, which at a million persons takes twice as
    // long, and hold their memory besides.
    db.execute("PRAGMA cache_size = -2048");
    Transaction transaction(db);
    for (const Index& index : m_indexes) {
        if (index.kept)
            db.execute("DROP INDEX IF EXISTS " + quoteName(index.name));
    }
    for (const Index& index : m_indexes)
        db.execute(index.sql);
    transaction.commit();
    m_indexes.clear();
}

} // namespace clubdb
