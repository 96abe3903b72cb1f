#pragma once

// Everything an import step needs, for tests: a temporary folder with a new club database,
// a conversion log, the abort flag, a recording progress display, scripted questions, the
// definitions and a fixed clock.

#include "clubdb/DatenbankErstellen.h"
#include "import/Schritt.h"
#include "import/Vereinsverzeichnis.h"
#include "support/ExportFiles.h"
#include "support/QueryRows.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <functional>
#include <string>
#include <vector>

struct RecordingDisplay : importer::Schrittanzeige
{
    std::vector<std::string> texts;
    std::function<void()> onEvents = [] {};

    void fortschritt(importer::Anzeige, const std::string& text) override { texts.push_back(text); }
    void ereignisseVerarbeiten() override { onEvents(); }
};

// The head of a problem line in the log: "Zeile", the number with one blank before it, TAB,
// the line as read.
inline std::string kopf(int nummer, const std::string& zeile)
{
    return "Zeile  " + std::to_string(nummer) + "\t" + zeile + "\r\n";
}

struct StepSetup
{
    TempFolder folder;
    std::string database = folder.file("Verein.vdb");
    std::string logPath = folder.file("test.log");
    importer::Logdatei log{logPath};
    bool abort = false;
    RecordingDisplay display;
    ScriptedQuestions questions;
    definitions::Definitionen definitions;
    std::function<clubdb::Date()> clock = [] { return *clubdb::Date::fromCivil(2024, 3, 7, 9, 5, 30); };
    importer::Vereinsverzeichnis clubs;
    importer::Vollstaendigkeit completeness;
    importer::Schrittkontext context{folder.path().string() + "/", database, &log, abort, display, questions,
                                     definitions, clock, clubs, completeness};

    StepSetup() { clubdb::DatenbankErstellen(database); }

    void withoutLog() { context.log = nullptr; }

    void write(const std::string& name, std::initializer_list<std::string> lines)
    {
        writeExportFile(folder.file(name), lines);
    }

    // Writes the lines as the export file and runs the step on it.
    template <typename Step> std::int32_t import(Step step, std::initializer_list<std::string> lines)
    {
        write("B_X_1.csv", lines);
        return step(context, "B_X_1.csv");
    }

    std::string logText()
    {
        log.schliessen();
        return readLog(logPath);
    }

    void execute(const std::string& sql) { clubdb::Connection::open(database).execute(sql); }

    std::vector<std::string> rows(const std::string& sql) { return queryRows(database, sql); }
};
