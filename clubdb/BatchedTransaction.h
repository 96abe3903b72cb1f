#pragma once

// Stores the records of a long import step in transactions of some thousand lines.
//
// One transaction per record would cost one disk sync per record and make a federation export
// take hours; one transaction for the whole step would lose everything on a crash. Committing
// some thousand lines at a time keeps both the speed and a consistent file: a killed process
// leaves the lines committed so far, never half a line.
//
// The batches grow with the step, from kLinesPerCommit lines up to kMaxLinesPerCommit. Each
// commit writes every index page that its lines changed, twice (journal and file), and the
// lines of a federation's members file change pages all over the name index: with batches of
// a fixed size, the writing grew with the square of the export. A commit never writes more than
// the page cache holds, whatever the batch: the engine writes out what does not fit as it goes.
//
// The price is that a failure may cost a whole batch: when the disk is full or a write fails,
// the engine rolls the open transaction back on its own, and a commit that cannot get the file
// (another program holds it) stores nothing. The caller learns after each line what became of
// the lines since the last commit, so that it never counts as stored what the file does not hold.

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"

#include <optional>

namespace clubdb {

class BatchedTransaction
{
public:
    static constexpr int kLinesPerCommit = 5000;      // the first batch; every batch is a multiple of it
    static constexpr int kMaxLinesPerCommit = 250000; // the most lines a failure may cost

    // What became of the lines since the last commit.
    enum class Outcome {
        Open,      // they are in the open transaction
        Committed, // they are in the file
        Lost,      // they are not in the file, and never will be; error() tells why
    };

    explicit BatchedTransaction(Connection& connection);

    // Commits what is stored so far; a destructor cannot report, so call finish().
    ~BatchedTransaction();
    BatchedTransaction(const BatchedTransaction&) = delete;
    BatchedTransaction& operator=(const BatchedTransaction&) = delete;

    // Marks the end of one export line; commits when the batch is full, then begins the
    // transaction of the next lines: the first after kLinesPerCommit lines, each further one
    // after as many lines as went before, in whole kLinesPerCommit and at most
    // kMaxLinesPerCommit. A commit that finds the file locked is tried again
    // after the next batch. When no transaction can begin, the next line's writes are stored one
    // by one as they come.
    Outcome lineDone();

    // Commits what is stored so far. When the commit fails, the transaction is rolled back, so
    // that the file holds exactly what the caller is told: Lost.
    Outcome finish();

    // Why the last lines were lost.
    const DbError& error() const { return *m_error; }

private:
    void begin();
    Outcome lost(DbError error);

    Connection& m_connection;
    int m_linesPerCommit = kLinesPerCommit; // of the current batch
    int m_lines = 0;                        // towards the next commit
    long long m_linesDone = 0;              // since the step began
    bool m_open = false; // a transaction of this batch holds lines not yet committed
    std::optional<DbError> m_error;
};

} // namespace clubdb
