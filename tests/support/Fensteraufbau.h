#pragma once

// The window for tests: on scripted questions, with an export folder, a folder for club databases,
// a definitions file, a program folder and a data folder of its own, and a log viewer that cannot
// be started (the logs it was asked to show are recorded).
//
// The example export has clubs, members, a start right and a districts file, the export of the
// older naming beside. Two clubs lack their abbreviation, one in a line too long to show whole;
// the last member may be Müller again.

#include "app/MainVdbVidazer.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <QTest>

#include <filesystem>
#include <memory>

inline std::string verein(const std::string& nummer)
{
    return "1," + nummer + ",SG " + nummer + ",V,,,,,,,Ort";
}

inline const std::string kLang = "1,04-004,Lang,,,,,,,,Ort," + std::string(30'000, 'x');
inline const std::string kNochmal = memberLine("04-001", "04-001-0028", "Müller", "Hans", "Bahnhofstr.");

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

    template <typename T = QWidget> T* el(const QString& name) const
    {
        T* w = fenster->findChild<T*>(name);
        if (!w)
            qFatal("kein Steuerelement %s", qUtf8Printable(name));
        return w;
    }

    void exportDatei(const std::string& name, const std::vector<std::string>& zeilen) const
    {
        writeExportFile(export_ + "/" + name, zeilen);
    }

    void beispielexport() const
    {
        exportDatei("Verband.V.2024.csv", {verein("04-009")});
        exportDatei("Verband_V_2024.csv", {verein("04-001"), verein("04-007"), "1,04-001,D,D,,,,,,,O",
                                           "1,04-002,Ohne Kürzel,,,,,,,,Ort", kLang});
        exportDatei("Verband_M_2024.csv",
                    {memberLine("04-001", "04-001-0027", "Müller"), memberLine("04-007", "04-001-0027", "Müller"),
                     memberLine("04-007", "04-007-0003", "Huber", "Eva"), kNochmal});
        exportDatei("Verband_Z_2024.csv", {"x,04-001,04-001-0027,04-007,04-007-0100,1.10"});
        exportDatei("Verband_K_2024.csv", {"x"});
    }
};
