#pragma once

// The titles of the questions and messages about the definitions file. The file belongs to
// the Zervik competition program, so its messages carry that program's name.

namespace definitions::meldung {

inline constexpr const char* kFehlendeDatei = "Zervik - fehlende Datei";
inline constexpr const char* kVerbindungsfehler = "Zervik - Verbindungsfehler";
inline constexpr const char* kSicherheitsabfrage = "Zervik - Sicherheitsabfrage";
inline constexpr const char* kZugriffsfehler = "Zervik - Zugriffsfehler";
inline constexpr const char* kFehler = "Zervik - Fehler";

// Lines of a message are joined with CR LF.
inline constexpr const char* kZeilenende = "\r\n";

} // namespace definitions::meldung
