#include "clubdb/BatchedTransaction.h"

#include <sqlite3.h>

namespace clubdb {

BatchedTransaction::BatchedTransaction(Connection& connection, int linesPerCommit)
    : m_connection(connection)
    , m_linesPerCommit(linesPerCommit)
{
    beginIfNeeded();
}

BatchedTransaction::~BatchedTransaction()
{
    if (!sqlite3_get_autocommit(m_connection.handle()))
        sqlite3_exec(m_connection.handle(), "COMMIT", nullptr, nullptr, nullptr);
}

void BatchedTransaction::beginIfNeeded()
{
    if (sqlite3_get_autocommit(m_connection.handle()))
        m_connection.execute("BEGIN IMMEDIATE");
}

void BatchedTransaction::lineDone()
{
    if (++m_lines >= m_linesPerCommit) {
        m_lines = 0;
        if (!sqlite3_get_autocommit(m_connection.handle()))
            m_connection.execute("COMMIT");
    }
    beginIfNeeded();
}

void BatchedTransaction::finish()
{
    m_lines = 0;
    if (!sqlite3_get_autocommit(m_connection.handle()))
        m_connection.execute("COMMIT");
}

} // namespace clubdb
