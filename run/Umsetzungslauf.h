#pragma once

// One conversion of an export folder into the club database: load the definitions, open the
// conversion log, run the clubs, members and start-rights steps in this order, count the club
// database after each, and offer the log when lines had problems.

#include "clubdb/Date.h"
#include "definitions/WkAk.h"
#include "import/Exportdateien.h"
#include "import/Logdatei.h"
#include "import/Vollstaendigkeit.h"
#include "run/Lauffrontend.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace run {

// What the window knows when Start is pressed.
struct Laufeingaben
{
    std::string exportOrdner; // ending in "/"
    importer::Exportdateien dateien;
    std::string vdbPfad;
    std::string vdbOrdner; // ending in "/"; the conversion log goes here
    std::string programmOrdner;
    std::string anwendungsdatenOrdner;
};

enum class Laufende {
    DefinitionenLeer, // no disciplines or no classes: refused, nothing changed
    LogNichtAngelegt, // the conversion log could not be created: refused, nothing changed
    Bereit,           // vorbereiten(): every check passed, the steps may run
    Beendet,          // the steps ran, to the end or up to Abbruch
    ProgrammBeenden,  // the definitions file is locked: the program must end at once
};

class Umsetzungslauf
{
public:
    using Uhr = std::function<clubdb::Date()>;

    explicit Umsetzungslauf(Lauffrontend& frontend, Uhr uhr = &clubdb::Date::now);

    // Start: runs one conversion. definitionsPfad may be set by the definitions load when it
    // was empty.
    Laufende start(const Laufeingaben& eingaben, std::string& definitionsPfad);

    // Start in two halves, for a front end that may change nothing before it knows that the run
    // can happen (the batch program replaces the club database only then). vorbereiten does
    // everything that can refuse the run: it loads the definitions and creates the log, and
    // answers Bereit when the steps may follow. Only then either ausfuehren runs them, or
    // verwerfen gives the run up and removes the log that would stay empty.
    Laufende vorbereiten(const Laufeingaben& eingaben, std::string& definitionsPfad);
    Laufende ausfuehren(const Laufeingaben& eingaben);
    void verwerfen();

    // Abbruch: the running step stops after its current line; later steps are skipped.
    void abbrechen() { m_abbruch = true; }

    bool leerlauf() const { return m_leerlauf; }
    bool abbruchAngefordert() const { return m_abbruch; }

    // Whether a conversion log is written; follows the log check box.
    bool logEin = true;

    // How the log file is created: the system's file, unless a test makes its writes fail.
    importer::FileSinkOpener logOeffnen = importer::openFileSink;

    // How the steps search stored clubs, persons and memberships; the plain queries serve as the
    // reference in tests.
    importer::Suchverfahren suchverfahren = importer::Suchverfahren::Index;

    // The least time between two looks of the front end at its events while a step runs (see
    // Zeilenlauf.h); zero: after every line, which tests use to act at a chosen line.
    std::chrono::milliseconds ereignisabstand{50};

    const std::string& logPfad() const { return m_logPfad; }
    bool logFehlerfrei() const { return m_logFehlerfrei; }
    std::int32_t problemzahl() const { return m_problemzahl; }
    // Whether the last run stored everything it meant to store, and why not.
    const importer::Vollstaendigkeit& vollstaendigkeit() const { return m_vollstaendigkeit; }
    const definitions::Definitionen& definitionen() const { return m_definitionen; }

    // "Log_" + YYYYMMDD + "_" + HHMM + ".log"
    static std::string Logname(const clubdb::Date& zeitpunkt);

private:
    void inhaltZeigen(const std::string& vdbPfad);

    Lauffrontend& m_frontend;
    Uhr m_uhr;
    definitions::Definitionen m_definitionen;
    std::unique_ptr<importer::Logdatei> m_log; // from vorbereiten to the end of ausfuehren
    std::string m_logPfad;
    bool m_logFehlerfrei = true;
    bool m_leerlauf = true;
    bool m_abbruch = false;
    std::int32_t m_problemzahl = 0;
    importer::Vollstaendigkeit m_vollstaendigkeit;
};

} // namespace run
