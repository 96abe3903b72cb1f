#pragma once

// A small definitions file in the current layout for tests of the conversion: one discipline
// "Luftgewehr" 1.10 and one age class for women and one for men.

#include "clubdb/Connection.h"
#include "definitions/WkAk.h"
#include "support/ScriptedQuestions.h"

#include <string>

inline void writeDefinitionsFile(const std::string& path)
{
    ScriptedQuestions questions;
    const definitions::Umgebung umgebung{"", "", questions};
    definitions::WkAkAnlegen(path, umgebung);
    std::string names = "'Luftgewehr ', 4, 10, 0, 0, 8, 10, 2";
    for (int i = 0; i < 18; ++i)
        names += ", 'Serie '";
    clubdb::Connection::open(path).execute(
        "INSERT INTO Disziplinen VALUES (" + names +
        ", '1.10 ', 1, 0, 4.5, NULL); INSERT INTO Altersklassen VALUES "
        "('Damenklasse ', '20 ', 21, 45, 1, 0), ('Herrenklasse ', '10 ', 21, 45, 0, 0)");
}
