#pragma once

// A whole conversion run for fault tests: an export folder, a new club database, the small
// definitions file, and a front end that lets a test break something at a chosen line of a
// chosen step (fill the disk, take a lock, make the file read-only) and records what the user
// was told.

#include "clubdb/DatenbankErstellen.h"
#include "clubdb/Statement.h"
#include "run/Umsetzungslauf.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

class FaultFrontend : public run::Lauffrontend
{
public:
    ScriptedQuestions questions;
    // Called after every export line with its step and its number within the step.
    std::function<void(importer::Anzeige, int)> onLine;
    // Called after each step with its number: 1 clubs, 2 members, 3 start rights.
    std::function<void(int)> afterStep;

    questions::Questions& fragen() override { return questions; }
    void inhalt(const clubdb::VdbInhalt&) override
    {
        if (afterStep)
            afterStep(++m_steps);
    }
    void laufzustand(bool) override {}
    void logAnzeigen(const std::string&) override {}
    void fortschritt(importer::Anzeige anzeige, const std::string&) override
    {
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

struct FaultRun
{
    TempFolder folder;
    FaultFrontend frontend;
    run::Umsetzungslauf lauf{frontend, [] { return *clubdb::Date::fromCivil(2024, 3, 7, 9, 5, 30); }};
    run::Laufeingaben eingaben;
    std::string definitions = folder.file("wkak.zrv");

    FaultRun()
    {
        std::filesystem::create_directory(folder.path() / "export");
        eingaben.exportOrdner = folder.file("export") + "/";
        eingaben.vdbPfad = folder.file("Verein.vdb");
        eingaben.vdbOrdner = folder.path().string() + "/";
        clubdb::DatenbankErstellen(eingaben.vdbPfad);
        writeDefinitionsFile(definitions);
    }

    std::string exportFile(const char* kind) const { return eingaben.exportOrdner + "B_" + kind + "_1.csv"; }

    // Writes the clubs ("V"), members ("M") or start-rights ("Z") file and marks it found.
    void write(const char* kind, const std::vector<std::string>& lines)
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += text::encodeWindows1252(line) + "\r\n";
        writeBytes(kind, bytes);
    }

    void writeBytes(const char* kind, const std::string& bytes)
    {
        std::ofstream(exportFile(kind), std::ios::binary) << bytes;
        importer::Exportdatei& datei = kind[0] == 'V'   ? eingaben.dateien.vereine
                                       : kind[0] == 'M' ? eingaben.dateien.mitglieder
                                                        : eingaben.dateien.startrechte;
        datei = {"B_" + std::string(kind) + "_1.csv", true};
    }

    run::Laufende start()
    {
        std::string pfad = definitions;
        return lauf.start(eingaben, pfad);
    }

    std::string logPath() const { return folder.file("Log_20240307_0905.log"); }
    std::string log() const
    {
        std::ifstream file(logPath(), std::ios::binary);
        std::string bytes(std::filesystem::file_size(logPath()), '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return text::decodeWindows1252(bytes);
    }

    // The count that a step wrote into its closing record, "... Zeilen eingelesen, N <what>".
    int loggedCount(const std::string& what) const
    {
        const std::string logText = log();
        const std::string before = "Zeilen eingelesen, ";
        for (std::size_t at = logText.find(before); at != std::string::npos; at = logText.find(before, at + 1)) {
            std::size_t end = at + before.size();
            while (end < logText.size() && std::isdigit(static_cast<unsigned char>(logText[end])))
                ++end;
            if (logText.compare(end, what.size() + 1, " " + what) == 0)
                return std::stoi(logText.substr(at + before.size(), end - at - before.size()));
        }
        return -1;
    }

    std::int64_t count(const std::string& table) const
    {
        clubdb::Connection db = clubdb::Connection::open(eingaben.vdbPfad, clubdb::OpenMode::ReadOnly);
        clubdb::Statement query(db, "SELECT count(*) FROM " + table);
        query.step();
        return query.integer(0);
    }

    std::string integrity() const
    {
        clubdb::Connection db = clubdb::Connection::open(eingaben.vdbPfad);
        clubdb::Statement query(db, "PRAGMA integrity_check");
        return query.step() ? query.text(0) : "";
    }
};

// Export lines: clubs 04-001 ..., members of club 04-001 with membership numbers 04-001-0001 ...,
// each a person of its own, and start rights of those members for club 04-002.
inline std::vector<std::string> clubLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("1,04-" + std::to_string(1000 + i).substr(1) + ",Schützenverein Nummer " + std::to_string(i) +
                        ",SV " + std::to_string(i) + ",,,,,,,Augsburg");
    return lines;
}

inline std::string memberNumber(int i)
{
    char number[16];
    std::snprintf(number, sizeof number, "04-001-%04d", i);
    return number;
}

// Names that do not contain each other, birth dates and postcodes of their own: no line finds
// the person of another line.
inline std::string memberName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "N%05dx", i);
    return name;
}

// club: "04-001" for home memberships; the same persons exported by "04-002" are second memberships.
inline std::vector<std::string> memberLines(int count, const std::string& club = "04-001")
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back("1," + club + "," + memberNumber(i) + ",01.01.2000,,," + memberName(i) + ",V" + memberName(i) +
                        "," + std::to_string(i) + ".1.1950,M,,,,,,Hauptstraße," + std::to_string(i) + "," +
                        std::to_string(10000 + i) + ",Augsburg,0821 12345");
    }
    return lines;
}

inline std::vector<std::string> startRightLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("1,04-001," + memberNumber(i) + ",04-002," + memberNumber(i) + ",1.10");
    return lines;
}

// Every connection that an import step opens to the club database passes through here, so a
// test can break the storage under a step that is running: a full disk (SQLite's page limit
// of the connection) or a file that may no longer be written.
class StorageFault
{
public:
    explicit StorageFault(std::string database) : m_database(std::filesystem::weakly_canonical(database).string())
    {
        s_active = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&opened));
    }
    ~StorageFault()
    {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&opened));
        s_active = nullptr;
    }
    StorageFault(const StorageFault&) = delete;
    StorageFault& operator=(const StorageFault&) = delete;

    // The disk is full: the step's connection gets no page beyond those it has now.
    void fillDisk() { pragma("PRAGMA max_page_count = " + std::to_string(pageCount())); }

    // The file may no longer be written through the step's connection.
    void makeReadOnly() { pragma("PRAGMA query_only = 1"); }

    // Every search by LIKE on the step's connection finds the file locked from now on.
    void lockSearches()
    {
        if (m_latest)
            sqlite3_create_function(m_latest, "like", 3, SQLITE_UTF8, nullptr, &locked, nullptr, nullptr);
    }

private:
    static int opened(sqlite3* db, char**, const sqlite3_api_routines*)
    {
        const char* name = sqlite3_db_filename(db, "main");
        if (s_active && name && std::filesystem::weakly_canonical(name).string() == s_active->m_database &&
            !sqlite3_db_readonly(db, "main"))
            s_active->m_latest = db;
        return SQLITE_OK;
    }

    static void locked(sqlite3_context* context, int, sqlite3_value**) { sqlite3_result_error_code(context, SQLITE_BUSY); }

    std::int64_t pageCount()
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_latest, "PRAGMA page_count", -1, &statement, nullptr);
        sqlite3_step(statement);
        const std::int64_t pages = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return pages;
    }

    void pragma(const std::string& sql)
    {
        if (m_latest)
            sqlite3_exec(m_latest, sql.c_str(), nullptr, nullptr, nullptr);
    }

    static inline StorageFault* s_active = nullptr;
    std::string m_database;
    sqlite3* m_latest = nullptr; // the connection opened last for writing: the running step's
};
