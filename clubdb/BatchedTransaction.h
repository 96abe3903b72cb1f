#pragma once

// Stores the records of a long import step in transactions of a few thousand lines.
//
// One transaction per record would cost one disk sync per record and make a federation export
// take hours; one transaction for the whole step would lose everything on a crash. Committing
// every few thousand lines keeps both the speed and a consistent file: a killed process
// leaves the lines committed so far, never half a line.

#include "clubdb/Connection.h"

namespace clubdb {

class BatchedTransaction
{
public:
    static constexpr int kLinesPerCommit = 2000;

    explicit BatchedTransaction(Connection& connection, int linesPerCommit = kLinesPerCommit);

    // Commits what is stored so far; a destructor cannot report, so call finish().
    ~BatchedTransaction();
    BatchedTransaction(const BatchedTransaction&) = delete;
    BatchedTransaction& operator=(const BatchedTransaction&) = delete;

    // Marks the end of one export line; commits after every linesPerCommit lines. If the
    // engine had to roll back on its own (disk full), a new transaction begins.
    void lineDone();

    // Commits what is stored so far. Throws DbError.
    void finish();

private:
    void beginIfNeeded();

    Connection& m_connection;
    int m_linesPerCommit;
    int m_lines = 0;
};

} // namespace clubdb
