#pragma once

// Everything an import step needs, for tests: a temporary folder with a new club database,
// a conversion log, the abort flag, a recording progress display, scripted questions, the
// definitions and a fixed clock.

#include "clubdb/DatenbankErstellen.h"
#include "clubdb/Statement.h"
#include "import/Schritt.h"
#include "import/Vereinsverzeichnis.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <functional>
#include <string>
#include <vector>

class RecordingDisplay : public importer::Schrittanzeige
{
public:
    std::vector<std::string> texts;
    std::function<void()> onEvents;

    void fortschritt(importer::Anzeige, const std::string& text) override { texts.push_back(text); }
    void ereignisseVerarbeiten() override
    {
        if (onEvents)
            onEvents();
    }
};

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
    importer::Schrittkontext context{folder.path().string() + "/", database, &log, abort, display, questions,
                                     definitions, clock, clubs};

    StepSetup() { clubdb::DatenbankErstellen(database); }

    void withoutLog() { context.log = nullptr; }

    void write(const std::string& name, std::initializer_list<std::string> lines)
    {
        writeExportFile(folder.file(name), lines);
    }

    std::string logText()
    {
        log.schliessen();
        return readLog(logPath);
    }

    void execute(const std::string& sql) { clubdb::Connection::open(database).execute(sql); }

    // The rows of a query, each as its fields joined by "|" (a field without value as "NULL").
    std::vector<std::string> rows(const std::string& sql)
    {
        clubdb::Connection db = clubdb::Connection::open(database);
        clubdb::Statement query(db, sql);
        std::vector<std::string> result;
        while (query.step()) {
            std::string row;
            for (int i = 0; i < query.columnCount(); ++i)
                row += (i ? "|" : "") + (query.isNull(i) ? std::string("NULL") : query.text(i));
            result.push_back(row);
        }
        return result;
    }
};
