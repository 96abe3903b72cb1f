#pragma once

// A failure of a database operation, with a number and a description.
//
// The user is told the number and description of every failure that a window handler or
// the definitions load reports, and the definitions subsystem decides on the number alone
// whether the program can go on (3051: the file is locked or lacks permission). Numbers
// below are the program's own; all others are SQLite's extended result codes with SQLite's
// own description.

#include <stdexcept>
#include <string>

struct sqlite3;

namespace clubdb {

namespace fehler {
inline constexpr int kTypenUnvertraeglich = 13;      // a field's value does not fit the type asked for
inline constexpr int kUnzulaessigesNull = 94;        // a field holds no value where one is needed
inline constexpr int kElementNichtGefunden = 3265;   // no field of that name
inline constexpr int kUngueltigerPfad = 3044;        // the folder of a file does not exist
inline constexpr int kDateiGesperrt = 3051;          // cannot be opened: locked or no permission
inline constexpr int kDatenbankExistiert = 3204;     // a database file of that name exists already
inline constexpr int kDateiNichtGefunden = 3024;     // no file at that path
inline constexpr int kDateiNichtLoeschbar = 3035;    // an existing file could not be deleted
} // namespace fehler

class DbError : public std::runtime_error
{
public:
    // Whether the data or the storage failed. A value that the database refuses (a text too long
    // for its field) costs one record; a file that cannot be opened, is locked, full or damaged
    // costs whatever the program meant to store in it, and the club database is then incomplete.
    enum class Cause { Data, Storage };

    DbError(int number, std::string description, Cause cause = Cause::Data);

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }
    bool storageFailure() const { return m_cause == Cause::Storage; }

private:
    int m_number;
    std::string m_description;
    Cause m_cause;
};

// The error of the last failed call on db, with result code rc. Locked files and missing
// permissions become 3051, whatever the engine called them. A full disk, a failed read or
// write, a locked, read-only, damaged or vanished file and a lack of memory are failures of the
// storage, everything else (a refused value, a missing field) of the data.
DbError errorFrom(sqlite3* db, int rc);

// Throws errorFrom(db, rc) unless rc is SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
void check(sqlite3* db, int rc);

} // namespace clubdb
