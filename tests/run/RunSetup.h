#pragma once

// A whole conversion run for tests: an export folder, a new club database, the small definitions
// file, and a front end that records what the run told it and lets a test act at a chosen line
// of a chosen step (press Abbruch, fill the disk, take a lock).

#include "clubdb/DatenbankErstellen.h"
#include "run/Umsetzungslauf.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/QueryRows.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

inline bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Export lines: clubs 04-001 ..., members of club 04-001 with membership numbers 04-001-0001 ...,
// each a person of its own, and start rights of those members for club 04-002. The names do not
// contain each other and birth dates and postcodes are the person's own: no line finds the
// person of another line.
inline std::string padded(int i, int width)
{
    const std::string s = std::to_string(i);
    return std::string(std::max(0, width - static_cast<int>(s.size())), '0') + s;
}

inline std::string memberName(int i)
{
    return "N" + padded(i, 5) + "x";
}

inline std::vector<std::string> clubLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("1,04-" + padded(i, 3) + ",Schützenverein Nummer " + std::to_string(i) + ",SV " +
                        std::to_string(i) + ",,,,,,,Augsburg");
    return lines;
}

// club: "04-001" for home memberships; the same persons exported by "04-002" are second memberships.
inline std::vector<std::string> memberLines(int count, const std::string& club = "04-001")
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("1," + club + ",04-001-" + padded(i, 4) + ",01.01.2000,,," + memberName(i) + ",V" +
                        memberName(i) + "," + std::to_string(i) + ".1.1950,M,,,,,,Hauptstraße," + std::to_string(i) +
                        "," + std::to_string(10000 + i) + ",Augsburg,0821 12345");
    return lines;
}

inline std::vector<std::string> startRightLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("1,04-001,04-001-" + padded(i, 4) + ",04-002,04-001-" + padded(i, 4) + ",1.10");
    return lines;
}

class RecordingFrontend : public run::Lauffrontend
{
public:
    ScriptedQuestions questions;
    std::vector<std::string> events; // what the run told its front end, in order
    clubdb::VdbInhalt content;
    // Called after every export line with its step and its number within the step.
    std::function<void(importer::Anzeige, int)> onLine;
    // Called after each step's count with the step's number: 1 clubs, 2 members, 3 start rights.
    std::function<void(int)> afterStep;

    questions::Questions& fragen() override { return questions; }
    void inhalt(const clubdb::VdbInhalt& i) override
    {
        content = i;
        events.push_back("inhalt " + clubdb::Anzeigetext(i.vereine));
        if (afterStep)
            afterStep(++m_steps);
    }
    void laufzustand(bool laeuft) override { events.push_back(laeuft ? "läuft" : "steht"); }
    void logAnzeigen(const std::string& pfad) override { events.push_back("zeige " + pfad); }
    void unvollstaendig(const importer::Vollstaendigkeit& stand) override
    {
        for (const std::string& text : stand.meldungen(true))
            events.push_back(text);
    }
    void fortschritt(importer::Anzeige anzeige, const std::string& text) override
    {
        events.push_back("fortschritt " + text);
        m_lines = anzeige == m_step ? m_lines + 1 : 1;
        m_step = anzeige;
    }
    void ereignisseVerarbeiten() override
    {
        if (onLine)
            onLine(m_step, m_lines);
    }

    // The texts of the messages titled "Fehler", in order.
    std::vector<std::string> errors() const
    {
        std::vector<std::string> texts;
        for (const auto& asked : questions.asked)
            if (asked.title == "Fehler")
                texts.push_back(asked.text);
        return texts;
    }

private:
    int m_steps = 0;
    importer::Anzeige m_step = importer::Anzeige::Vereine;
    int m_lines = 0;
};

struct RunSetup
{
    TempFolder folder;
    RecordingFrontend frontend;
    clubdb::Date now = *clubdb::Date::fromCivil(2024, 3, 7, 9, 5, 30);
    run::Umsetzungslauf lauf{frontend, [this] { return now; }};
    run::Laufeingaben eingaben;
    std::string definitions = folder.file("wkak.zrv");

    RunSetup()
    {
        std::filesystem::create_directory(folder.path() / "export");
        eingaben.exportOrdner = folder.file("export") + "/";
        eingaben.vdbPfad = folder.file("Verein.vdb");
        eingaben.vdbOrdner = folder.path().string() + "/";
        clubdb::DatenbankErstellen(eingaben.vdbPfad);
        writeDefinitionsFile(definitions);
        lauf.ereignisabstand = std::chrono::milliseconds(0);  // onLine is called after every line
        frontend.questions.answers = {questions::Answer::No}; // show the log?
    }

    std::string exportFile(const char* kind) const { return eingaben.exportOrdner + "B_" + kind + "_1.csv"; }

    // Writes the clubs ("V"), members ("M") or start-rights ("Z") file and marks it found.
    void write(const char* kind, const std::vector<std::string>& lines)
    {
        writeBytes(kind, "");
        writeExportFile(exportFile(kind), lines);
    }

    void writeBytes(const char* kind, const std::string& bytes)
    {
        std::ofstream(exportFile(kind), std::ios::binary) << bytes;
        importer::Exportdatei& datei = kind[0] == 'V'   ? eingaben.dateien.vereine
                                       : kind[0] == 'M' ? eingaben.dateien.mitglieder
                                                        : eingaben.dateien.startrechte;
        datei = {"B_" + std::string(kind) + "_1.csv", true};
    }

    // Clubs 04-001 ..., members of 04-001 and their start rights for 04-002 (see clubLines below).
    void files(int clubs, int members = 0, int rights = 0)
    {
        write("V", clubLines(clubs));
        if (members)
            write("M", memberLines(members));
        if (rights)
            write("Z", startRightLines(rights));
    }

    // Calls action after the given line of the given step.
    void at(importer::Anzeige step, int line, std::function<void()> action)
    {
        frontend.onLine = [=](importer::Anzeige anzeige, int current) {
            if (anzeige == step && current == line)
                action();
        };
    }

    run::Laufende start()
    {
        std::string pfad = definitions;
        return lauf.start(eingaben, pfad);
    }

    // Runs the conversion, which must end and leave a sound club database.
    void runToEnd()
    {
        EXPECT_EQ(start(), run::Laufende::Beendet);
        EXPECT_EQ(single("PRAGMA integrity_check"), "ok");
    }

    // The names of the files in the test's folder that end in ending.
    std::vector<std::string> names(const std::string& ending = "") const
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.is_regular_file() && entry.path().filename().string().ends_with(ending))
                found.push_back(entry.path().filename().string());
        return found;
    }

    std::string logPath() const { return folder.file("Log_20240307_0905.log"); }
    std::string log() const { return readLog(logPath()); }

    // The count that a step wrote into its closing record, "... Zeilen eingelesen, N <what>".
    int loggedCount(const std::string& what) const
    {
        const std::string logText = log();
        std::smatch found;
        return std::regex_search(logText, found, std::regex("Zeilen eingelesen, (\\d+) " + what)) ? std::stoi(found[1])
                                                                                                  : -1;
    }

    std::vector<std::string> rows(const std::string& sql) const { return queryRows(eingaben.vdbPfad, sql); }
    std::string single(const std::string& sql) const { return rows(sql).at(0); }
    std::int64_t count(const std::string& table) const { return std::stoll(single("SELECT count(*) FROM " + table)); }
};
