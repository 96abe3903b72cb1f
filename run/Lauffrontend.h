#pragma once

// The one interface through which a conversion run talks to its front end: the window, the
// batch program or a test. The run never knows which of them it serves.

#include "clubdb/VdbInhalt.h"
#include "import/Schritt.h"
#include "import/Vollstaendigkeit.h"
#include "questions/Questions.h"

#include <string>

namespace run {

class Lauffrontend : public importer::Schrittanzeige
{
public:
    // The questions and messages of the run, its steps and the definitions load.
    virtual questions::Questions& fragen() = 0;

    // The counts of the club database after a step.
    virtual void inhalt(const clubdb::VdbInhalt& inhalt) = 0;

    // A run begins (true: Start, Ende and the log box off, Abbruch on) or ends (false).
    virtual void laufzustand(bool laeuft) = 0;

    // Opens the conversion log in the desktop's text viewer, without waiting for it.
    virtual void logAnzeigen(const std::string& pfad) = 0;

    // The run has ended, and the club database does not hold everything it should: called after
    // the last step, before the log is offered.
    virtual void unvollstaendig(const importer::Vollstaendigkeit& stand) = 0;
};

} // namespace run
