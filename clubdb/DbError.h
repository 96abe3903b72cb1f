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
    DbError(int number, std::string description);

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }

private:
    int m_number;
    std::string m_description;
};

// The error of the last failed call on db, with result code rc. Locked files and missing
// permissions become 3051, whatever the engine called them.
DbError errorFrom(sqlite3* db, int rc);

// Throws errorFrom(db, rc) unless rc is SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
void check(sqlite3* db, int rc);

} // namespace clubdb
