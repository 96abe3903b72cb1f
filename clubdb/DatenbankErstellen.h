#pragma once

// The club database: the data file of the Zervik program with its clubs, persons,
// memberships and start rights. This system creates it empty and then fills it through the
// imports; the Zervik program reads it later, so every table, field and index is created
// exactly as that program expects.

#include "clubdb/TableDefinition.h"

#include <string>
#include <vector>

namespace clubdb {

// The four tables Vereinsliste, Schuetzendaten, Mitgliedschaft and StartBerecht with their
// fields and indexes, in the order of creation.
const std::vector<TableDefinition>& vereinsdatenbankTabellen();

// Creates an empty club database at DName. An existing file of that name is deleted first,
// without a question: the caller asks the user before. Throws DbError with the engine's
// number and description on any failure; a partly written file is removed then, so that no
// half-built club database is ever left behind as if it were complete.
void DatenbankErstellen(const std::string& DName);

// Creates an empty club database at DName only where there is no file of that name: an
// existing file is never touched, not even one that appeared a moment ago (DbError 3204).
// Otherwise as DatenbankErstellen.
void DatenbankNeuErstellen(const std::string& DName);

// Creates an empty club database beside DName under a name of its own (DName + "~" + eight
// hexadecimal digits) and returns that name. A conversion that is to replace the club database
// at DName runs into it, and only a complete one then takes the old one's place
// (DatenbankEinsetzen): a failure on the way (a full disk) leaves the old club database as it
// was. Throws DbError as DatenbankNeuErstellen.
std::string DatenbankDanebenErstellen(const std::string& DName);

// Puts the club database neu, with the journal of a failed write if one was left, in the place of
// DName in one rename: whatever file stood there is replaced, and at no moment is there neither.
// Throws DbError with the system's reason when it cannot.
void DatenbankEinsetzen(const std::string& neu, const std::string& DName);

} // namespace clubdb
