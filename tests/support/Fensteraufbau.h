#pragma once

// The window for tests: on scripted questions, with an export folder, a folder for club databases,
// a definitions file, a program folder and a data folder of its own, and a log viewer that cannot
// be started (the logs it was asked to show are recorded).

#include "app/MainVdbVidazer.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <QTest>

#include <filesystem>
#include <memory>

struct Fensteraufbau
{
    TempFolder tmp;
    ScriptedQuestions fragen;
    std::vector<std::string> gezeigteLogs;
    std::unique_ptr<fenster::MainVdbVidazer> fenster;
    std::string export_ = tmp.file("Export"), datenbanken = tmp.file("Datenbanken"), vdb = datenbanken + "/Verein.vdb";
    std::string wkak = tmp.file("wkak.zrv"), programm = tmp.file("Programm");

    Fensteraufbau()
    {
        for (const std::string& ordner : {export_, datenbanken, programm, tmp.file("Daten")})
            std::filesystem::create_directory(ordner);
        writeDefinitionsFile(wkak);
        starten();
    }

    // A new window, as after a start of the program; the one before goes.
    void starten()
    {
        fenster =
            std::make_unique<fenster::MainVdbVidazer>(fragen, fenster::Programmumgebung{programm, tmp.file("Daten")});
        fenster->ereignisabstandSetzen(std::chrono::milliseconds(0)); // a click reaches the run's next line
        fenster->logbetrachterSetzen([this](const std::string& pfad) {
            gezeigteLogs.push_back(pfad);
            return false;
        });
        fenster->show();
    }

    template <typename T = QWidget> T* el(const char* name) const
    {
        T* w = fenster->findChild<T*>(QString::fromUtf8(name));
        if (!w)
            qFatal("kein Steuerelement %s", name);
        return w;
    }

    void exportDatei(const std::string& name, const std::vector<std::string>& zeilen) const
    {
        writeExportFile(export_ + "/" + name, zeilen);
    }
};
