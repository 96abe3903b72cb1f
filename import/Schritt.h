#pragma once

// What every import step (clubs, members, start rights) gets from the conversion run, and
// the pieces of the conversion log that all steps share.

#include "definitions/WkAk.h"
#include "import/Logdatei.h"
#include "import/Vollstaendigkeit.h"
#include "questions/Questions.h"

#include "clubdb/Date.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace importer {

// The progress labels of the window, one per step.
enum class Anzeige { Vereine, Mitglieder, Startberechtigungen };

// How a step shows its progress while it runs.
class Schrittanzeige
{
public:
    virtual ~Schrittanzeige() = default;

    // Shows lines read + " / " + records stored in the step's label.
    virtual void fortschritt(Anzeige anzeige, const std::string& text) = 0;

    // Lets pending events run between two input lines: that is how a click on Abbruch reaches
    // the step while it works.
    virtual void ereignisseVerarbeiten() = 0;
};

// How the steps search the stored clubs, persons and memberships: through indexes in memory
// (fast on federation exports), or by a database query for every lookup (the plain reference
// that the indexes must agree with, row for row).
enum class Suchverfahren { Index, Abfragen };

class Vereinsverzeichnis;

struct Schrittkontext
{
    std::string exportOrdner; // ending in "/"
    std::string vdbPfad;      // the club database
    Logdatei* log;            // nullptr when no conversion log is written
    const bool& abbruch;      // abort requested, tested before every line
    Schrittanzeige& anzeige;
    questions::Questions& fragen;
    const definitions::Definitionen& definitionen;
    const std::function<clubdb::Date()>& uhr; // today's date and time
    Vereinsverzeichnis& vereine;              // the stored club numbers, shared by the steps of a run
    Vollstaendigkeit& vollstaendigkeit;       // what the file or the database failed to take
    Suchverfahren suchverfahren = Suchverfahren::Index;
    // The least time between two calls of anzeige.ereignisseVerarbeiten() after a line; zero:
    // after every line.
    std::chrono::milliseconds ereignisabstand{0};

    // Writes one record into the conversion log when there is one.
    void protokoll(std::string_view text) const
    {
        if (log)
            log->schreiben(text);
    }
};

// The head of a problem text: "Zeile " + the line number with one leading blank + TAB + the line
// as read + CR LF. The reasons of the line follow it.
std::string Problemkopf(std::int32_t zeilennummer, std::string_view zeile);

// The progress text: lines read + " / " + records stored.
std::string Fortschrittstext(std::int32_t gelesen, std::int32_t gespeichert);

} // namespace importer
