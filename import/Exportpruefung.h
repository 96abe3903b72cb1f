#pragma once

// Looking at the export files before a run trusts them. An export does not always reach the
// program as the member administration wrote it: the folder may still hold last season's export
// beside this one, or a file may have been opened in a spreadsheet program and saved from there,
// its fields now separated by ";" or tabs. Both front ends look before the run starts, before
// anything is created or deleted.

#include "import/Exportdateien.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace importer {

// The kinds of which several files match in the folder, clubs, members and start rights (the
// districts are never converted): "Im Exportordner liegen mehrere Dateien derselben Art:", then
// one line per such kind, "Mitglieder: umgesetzt wird «X», nicht umgesetzt: «Y», «Z»", the lines
// joined by zeilenende. Nothing when each kind has one file at most.
std::optional<std::string> MehrereDateien(const Exportdateien& dateien, std::string_view zeilenende);

// Whether the file was saved as a table by another program: in more than half of its first 20
// non-empty lines (all of them when it has fewer) the ";" and tab characters together outnumber
// the ",". A line of nothing but blanks is empty. A file that cannot be read is not judged here:
// the run reports it.
bool AlsTabelleGespeichert(const std::filesystem::path& datei);

// The message for the first of the clubs, members and start-rights files found in ordner that
// was saved as a table, or nothing.
std::optional<std::string> TabellenMeldung(const std::string& ordner, const Exportdateien& dateien);

} // namespace importer
