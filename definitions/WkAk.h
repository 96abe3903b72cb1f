#pragma once

// Loading, creating and upgrading the competition definitions file of the Zervik program:
// its disciplines (with their SpO-Nr) and age classes.

#include "definitions/Definitionen.h"
#include "questions/Questions.h"

#include <string>

namespace definitions {

// The definitions as one conversion run holds them; every load replaces them.
struct Definitionen
{
    Disziplintabelle disziplinen;
    Klassentabelle klassen;
    Klassentabelle frauen;  // women's classes, highest rank first
    Klassentabelle maenner; // men's classes, highest rank first
};

// What loading needs to know of the program around it.
struct Umgebung
{
    std::string programmOrdner;        // folder of the executable, without trailing "/"
    std::string anwendungsdatenOrdner; // folder of the settings file, without trailing "/"
    questions::Questions& fragen;
};

// Whether the program may go on. When the definitions file or its folder is locked or lacks
// permission, the user is told and the program must end at once: the window quits, the batch
// exits with code 3.
enum class Ausgang { Weiter, ProgrammBeenden };

// The definitions file that a load without a chosen file opens: the first of the competition
// program's default files found in the program folder, else in the data folder of an installed
// program (programmOrdner/TVX_DATENORDNER_RELATIV); when there is none, wkak.zrv in the program
// folder.
std::string Vorgabepfad(const std::string& programmOrdner);

// Loads the definitions file at definitionsPfad into d; an empty definitionsPfad is set to
// Vorgabepfad(umgebung.programmOrdner). May create an empty file or rewrite a file of the
// older layout, after asking where the user has to decide. When the file cannot be read, the
// tables keep the entries read completely before the failure, but only a table read to its
// end has a count; the class lists change only when both tables were read.
Ausgang WkAkLaden(Definitionen& d, std::string& definitionsPfad, const Umgebung& umgebung);

// Creates an empty definitions file in the current layout at pfad (a blank pfad means
// "WkAk.zrv" in the application-data folder). The file must not exist yet. Reports its own
// failures to the user; a failed creation leaves no file behind.
Ausgang WkAkAnlegen(const std::string& pfad, const Umgebung& umgebung);

// Rewrites the file at definitionsPfad in the current layout from the loaded tables of d,
// keeping the old file as base name + "alt" (a previous backup is replaced); the new file is
// made at definitionsPfad itself. Entries without a name are not carried over. A file whose
// name has no extension or the extension "alt", or whose entries hold a text too long for the
// current layout, is left as it is and the user told so. When the new file cannot be
// written, the old file is put back under its name.
Ausgang WkAkUmstellen(Definitionen& d, const std::string& definitionsPfad, const Umgebung& umgebung);

} // namespace definitions
