#pragma once

// The layout of the competition definitions file in its current form, as the Zervik program
// reads it: the tables Disziplinen and Altersklassen, without indexes or keys.
//
// Files of the older layout lack ScheibeNr1 (disciplines) and KlasseVon (classes), or keep
// the class number as a 16-bit number; both are read, and rewritten in this layout.

#include "clubdb/TableDefinition.h"

namespace definitions {

// The series names BezSer1 to BezSer12 and the subtotal names BezZwSu1 to BezZwSu6 stand at
// these positions in both layouts; they are read by position.
inline constexpr int kErsteBezSerSpalte = 8;
inline constexpr int kErsteBezZwSuSpalte = 20;

const clubdb::TableDefinition& disziplinenTabelle();
const clubdb::TableDefinition& altersklassenTabelle();

} // namespace definitions
