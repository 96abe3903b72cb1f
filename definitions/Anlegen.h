#pragma once

// Creating an empty definitions file, with the outcome that the rewrite of an older file
// needs: it must know whether the new file exists before it writes into it.

#include "definitions/WkAk.h"

#include <string>

namespace definitions {

enum class Anlegeergebnis {
    Angelegt,       // the file exists with both empty tables
    Fehlgeschlagen, // reported to the user; no file was left behind
    Gesperrt,       // the file or folder is locked: reported, the program must end
};

// WkAkAnlegen with its outcome; the file is created at the path exactly as given (the
// caller has replaced a blank path already).
Anlegeergebnis DateiAnlegen(const std::string& pfad, const Umgebung& umgebung);

} // namespace definitions
