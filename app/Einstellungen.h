#pragma once

// The settings file "TVX_Vidazer.dir": what the window remembers from one start to the next.
// Four lines of Windows-1252 text, each ending with CR LF, so that the file stays readable by
// the program versions that came before:
//
//   1  folder of the last club database, ending in "/" (the next club database is proposed there)
//   2  comparison database (kept as read; nothing in the window changes it)
//   3  export folder: always written empty, so that every start begins without export files
//   4  definitions file
//
// The club database itself is never remembered: each start creates it anew, and only that
// creation allows Start.

#include <string>
#include <string_view>

namespace fenster {

struct Einstellungen
{
    std::string vdbOrdner;           // line 1
    std::string vergleichsdatenbank; // line 2
    std::string exportOrdner;        // line 3 (read only; always written empty)
    std::string definitionsPfad;     // line 4
};

// The file's bytes as values. Lines end at CR LF, a lone CR or a lone LF; lines missing from a
// shorter file are empty, lines beyond the fourth are ignored.
Einstellungen EinstellungenLesen(std::string_view inhalt);

// The file's bytes for the values: four lines with CR LF, the third always empty. A character
// that Windows-1252 cannot hold is written as "?".
std::string EinstellungenSchreiben(const Einstellungen& einstellungen);

// Keeps of the values read only what still fits the machine: a folder (lines 1 and 3) only
// when it exists, the definitions file only when it exists; the comparison database always.
// What is dropped, or blank, becomes empty. Kept folders end in "/".
Einstellungen EinstellungenPruefen(const Einstellungen& gelesen);

} // namespace fenster
