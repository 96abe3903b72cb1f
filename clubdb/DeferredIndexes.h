#pragma once

// Indexes built after an import step has filled its tables, instead of being kept up to date
// line by line.
//
// A federation's members file brings its persons club by club: every new person lands at a
// random place of the name index, and every second membership at a random place of the indexes
// of the memberships by club and by number. Kept up to date, those indexes cost a quarter of a
// conversion, more for every line the larger the export, since fewer of their pages stay in
// the caches. Built from the filled tables, each costs one sort.
//
// The club database ends as if the indexes had been kept all along: the same definitions in the
// same order of creation, which is the order in which its schema lists them. So every index from
// the first deferred one on is created anew after the step, also those that the step searches
// with and keeps until then. Only tables that hold no row when the step begins are deferred (a
// new club database); where they hold rows, the indexes stay.
//
// The price: a step that never ends (the process is killed) leaves the rows of its committed
// batches without the deferred indexes.

#include <string>
#include <vector>

namespace clubdb {

class DeferredIndexes
{
public:
    // Drops the indexes of the tables in the club database at path when none of the tables holds
    // a row, and with them every index created after the first of them; the indexes named in
    // kept stay until build(). Commits at once. Defers nothing where a table holds a row or where
    // the file cannot be changed now: the step then meets the failure itself and tells it.
    static DeferredIndexes defer(const std::string& path, const std::vector<std::string>& tables,
                                 const std::vector<std::string>& kept);

    bool empty() const { return m_indexes.empty(); }

    // Creates every deferred index in the order of creation, the kept ones after dropping them,
    // in one transaction. Throws DbError; the file then lacks the indexes dropped by defer().
    void build(const std::string& path);

private:
    struct Index
    {
        std::string name;
        std::string sql; // its definition, as the schema holds it
        bool kept = false;
    };
    std::vector<Index> m_indexes; // in the order of creation
};

} // namespace clubdb
