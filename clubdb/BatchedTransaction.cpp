#include "clubdb/BatchedTransaction.h"

#include <sqlite3.h>

#include <algorithm>

namespace clubdb {
namespace {

bool inTransaction(Connection& connection)
{
    return !sqlite3_get_autocommit(connection.handle());
}

// The engine rolled the transaction back by itself: a full disk, a failed write or no memory.
// The statement that failed has left its error on the connection unless another ran since.
DbError givenUp(Connection& connection)
{
    const int rc = sqlite3_errcode(connection.handle());
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        return errorFrom(connection.handle(), rc);
    return DbError(SQLITE_ABORT_ROLLBACK, "Die Datenbank hat die Änderungen nach einem Schreibfehler verworfen.",
                   DbError::Cause::Storage);
}

} // namespace

BatchedTransaction::BatchedTransaction(Connection& connection) : m_connection(connection)
{
    begin();
}

BatchedTransaction::~BatchedTransaction()
{
    if (inTransaction(m_connection))
        sqlite3_exec(m_connection.handle(), "COMMIT", nullptr, nullptr, nullptr);
}

void BatchedTransaction::begin()
{
    try {
        if (!inTransaction(m_connection))
            m_connection.execute("BEGIN IMMEDIATE");
        m_open = true;
    } catch (const DbError&) {
        m_open = false; // each write commits itself until a transaction can begin again
    }
}

BatchedTransaction::Outcome BatchedTransaction::lost(DbError error)
{
    m_error = std::move(error);
    m_open = false;
    return Outcome::Lost;
}

BatchedTransaction::Outcome BatchedTransaction::lineDone()
{
    ++m_linesDone;
    Outcome outcome = Outcome::Open;
    if (!m_open) {
        outcome = Outcome::Committed; // the line's writes committed themselves
    } else if (!inTransaction(m_connection)) {
        outcome = lost(givenUp(m_connection));
    } else if (++m_lines >= m_linesPerCommit) {
        m_lines = 0;
        try {
            m_connection.execute("COMMIT");
            m_open = false;
            outcome = Outcome::Committed;
        } catch (const DbError& e) {
            // A lock of another program leaves the transaction open, to be committed later;
            // any other failure has ended it.
            if (!inTransaction(m_connection))
                outcome = lost(e);
        }
    }
    if (outcome != Outcome::Open) {
        m_lines = 0;
        const long long nextBatch = m_linesDone / kLinesPerCommit * kLinesPerCommit;
        m_linesPerCommit = static_cast<int>(std::clamp<long long>(nextBatch, kLinesPerCommit, kMaxLinesPerCommit));
    }
    begin();
    return outcome;
}

BatchedTransaction::Outcome BatchedTransaction::finish()
{
    m_lines = 0;
    if (!m_open)
        return Outcome::Committed;
    if (!inTransaction(m_connection))
        return lost(givenUp(m_connection));
    try {
        m_connection.execute("COMMIT");
        m_open = false;
        return Outcome::Committed;
    } catch (const DbError& e) {
        if (inTransaction(m_connection))
            sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        return lost(e);
    }
}

} // namespace clubdb
