#pragma once

// The loop that every import step runs over its export file: read a line unless Abbruch was
// pressed, let the step work it out, write the line's problem text into the conversion log,
// show the progress and let pending events run.
//
// Events run after the first line and then only when the step's event interval has passed since
// they last did: in the window, looking at its events costs more than converting a line, and a
// click on Abbruch need not be seen sooner than a person can tell.

#include "import/Schritt.h"
#include "text/LineReader.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace importer {

class Zeilenlauf
{
public:
    Zeilenlauf(const Schrittkontext& kontext, Anzeige anzeige);

    // Opens export folder + dateiname. When it cannot be opened the user is told
    // "Datei " + path + " nicht gefunden!" and the result is false.
    bool oeffnen(const std::string& dateiname);

    // Reads the next line into zeile and counts it; false at the end of the file, after
    // Abbruch, or when reading fails (the user is told).
    bool naechsteZeile(std::string& zeile);

    // Ends the current line: writes its problem text when it has a problem, shows lines read
    // + " / " + gespeichert and lets pending events run when they are due.
    void zeileFertig(bool problem, const std::string& problemtext, std::int32_t gespeichert);

    // The lines from ersteZeile to the current one were not stored after all: the club database
    // gave up their batch. Writes that into the log, counts each of them as a problem line once
    // (problemzeilenVorher: the count before ersteZeile) and shows gespeichert again.
    void zeilenVerworfen(std::int32_t ersteZeile, std::int32_t problemzeilenVorher, std::int32_t gespeichert,
                         const std::string& grund);

    std::int32_t gelesen() const { return m_gelesen; }
    std::int32_t problemzeilen() const { return m_problemzeilen; }

private:
    void ereignisseVerarbeiten();

    const Schrittkontext& m_kontext;
    Anzeige m_anzeige;
    std::string m_pfad;
    std::unique_ptr<text::LineReader> m_leser;
    std::int32_t m_gelesen = 0;
    std::int32_t m_problemzeilen = 0;
    std::optional<std::chrono::steady_clock::time_point> m_ereignisseZuletzt;
};

} // namespace importer
