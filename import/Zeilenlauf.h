#pragma once

// The loop that every import step runs over its export file: read a line unless Abbruch was
// pressed, let the step work it out, write the line's problem text into the conversion log,
// show the progress and let pending events run.
//
// It also counts the lines that a file or the database failed to take, into the run's
// Vollstaendigkeit: a line whose writes failed for the storage, the lines of a batch that the
// club database gave up, and the line that could not be read when the export file fails (a file
// that cannot be opened at all fails at its first line). So a file that breaks off is never
// "0 Zeilen" lost, although no line of it was read.
//
// Events run after the first line and then only when the step's event interval has passed since
// they last did: in the window, looking at its events costs more than converting a line, and a
// click on Abbruch need not be seen sooner than a person can tell.

#include "clubdb/DbError.h"
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
    // Where the step stood after a line: what a batch given up later falls back to.
    struct Stand
    {
        std::int32_t naechsteZeile = 1;
        std::int32_t problemzeilen = 0;
        std::int32_t nichtGespeichert = 0;
    };

    Zeilenlauf(const Schrittkontext& kontext, Anzeige anzeige);

    // Opens export folder + dateiname. When it cannot be opened the user is told
    // "Datei " + path + " nicht gefunden!" and the result is false.
    bool oeffnen(const std::string& dateiname);

    // Reads the next line into zeile and counts it; false at the end of the file, after
    // Abbruch, or when reading fails (the user is told).
    bool naechsteZeile(std::string& zeile);

    // The current line was not stored, or not whole, because the file or the database failed
    // (not because of its data). Counts it once, however often it is said.
    void speicherfehler(const clubdb::DbError& fehler);

    // Ends the current line: writes its problem text when it has a problem, shows lines read
    // + " / " + gespeichert and lets pending events run when they are due.
    void zeileFertig(bool problem, const std::string& problemtext, std::int32_t gespeichert);

    // Where the step stands now, after its current line.
    Stand stand() const { return {m_gelesen + 1, m_problemzeilen, m_nichtGespeichert}; }

    // The lines from seit.naechsteZeile to the current one were not stored after all: the club
    // database gave up their batch. Writes that into the log, counts each of them as a problem
    // line and as not stored, once, and shows gespeichert again. A batch without a line leaves
    // the club database unfinished.
    void zeilenVerworfen(const Stand& seit, std::int32_t gespeichert, const clubdb::DbError& fehler);

    std::int32_t gelesen() const { return m_gelesen; }
    std::int32_t problemzeilen() const { return m_problemzeilen; }
    // The first failure that speicherfehler() was told of.
    const std::optional<clubdb::DbError>& ersterSpeicherfehler() const { return m_ersterSpeicherfehler; }

private:
    void nichtGespeichert(std::int32_t anzahl);
    void ereignisseVerarbeiten();

    const Schrittkontext& m_kontext;
    Anzeige m_anzeige;
    std::string m_pfad;
    std::unique_ptr<text::LineReader> m_leser;
    std::int32_t m_gelesen = 0;
    std::int32_t m_problemzeilen = 0;
    std::int32_t m_nichtGespeichert = 0;
    std::int32_t m_speicherfehlerZeile = 0; // the last line counted by speicherfehler()
    std::optional<clubdb::DbError> m_ersterSpeicherfehler;
    std::optional<std::chrono::steady_clock::time_point> m_ereignisseZuletzt;
};

} // namespace importer
