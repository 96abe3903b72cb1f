#pragma once

// Reading and writing the settings file as a whole.

#include <optional>
#include <string>

namespace fenster {

// The file's bytes; nothing when there is no file or it cannot be read.
std::optional<std::string> EinstellungsdateiLesen(const std::string& pfad);

// Writes the bytes into a temporary file beside the settings file and renames it over the old
// one only when every byte is on the disk, so that a crash or a full disk never leaves a
// half-written settings file behind: either the old file or the new one is there. False when
// the file could not be written; the old file is then unchanged.
bool EinstellungsdateiSchreiben(const std::string& pfad, const std::string& inhalt);

} // namespace fenster
