#include "clubdb/DbError.h"

#include <sqlite3.h>

namespace clubdb {

DbError::DbError(int number, std::string description, Cause cause)
    : std::runtime_error(std::to_string(number) + " ; " + description)
    , m_number(number)
    , m_description(std::move(description))
    , m_cause(cause)
{
}

DbError errorFrom(sqlite3* db, int rc)
{
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return DbError(fehler::kDateiGesperrt,
                       "Die Datei ist gesperrt oder der Zugriff ist nicht erlaubt (" + message + ").",
                       DbError::Cause::Storage);
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_NOMEM:
    case SQLITE_PROTOCOL:
    case SQLITE_ABORT: // a statement cut off by the rollback of its transaction
        return DbError(extended != 0 ? extended : rc, message, DbError::Cause::Storage);
    default:
        return DbError(extended != 0 ? extended : rc, message);
    }
}

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw errorFrom(db, rc);
}

} // namespace clubdb
