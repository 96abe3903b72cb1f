// tvx-bench: how long the conversion of a whole federation takes, measured against the raw
// load floor. For each size it writes a generated export into a scratch folder, loads its
// three files with the sqlite3 program's .import into a scratch database, then converts them
// with tvx-vidazer-batch (log on, as a user runs it) into a new club database, and prints
// both times, their ratio (also of the processor times, which a busy machine disturbs less),
// the conversion's peak memory, the counts the conversion printed and how the times grow. Each
// time is the median of the runs asked for; with --fenster the conversion of 200 000 lines runs
// through the window as well (tvx-bench-fenster), to be set against the batch program. The runs
// take turns across the sizes of a density, so that the ratio of two sizes is not that of two
// moments of a machine whose speed drifts. With
// --vergleich it converts the same export as the member administration writes it and as it
// arrives converted (LF line ends, UTF-8 without a mark), taking turns, and prints the medians
// and the extra cost of the converted form.

#include "bench/ExportGenerator.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "Aufruf: tvx-bench [--sizes ZAHLEN] [--je-verein ZAHLEN] [--laeufe ZAHL] [--fenster] [--ziele] [--seed ZAHL]\n"
    "                  [--lf] [--utf8] [--vergleich] [--keep] [--ordner ORDNER]\n"
    "\n"
    "Erzeugt für jede Größe einen Verbandsexport mit festem Startwert, lädt seine drei Dateien mit\n"
    "dem Programm sqlite3 (.import) in eine Rohdatenbank und setzt sie mit tvx-vidazer-batch (mit\n"
    "Logdatei) in eine neue Vereinsdatenbank um. Ausgegeben werden beide Zeiten, ihr Verhältnis\n"
    "(auch der Prozessorzeiten), der Spitzenspeicher der Umsetzung, die Zähler der Umsetzung, wie\n"
    "oft Personen Vor- und Nachnamen und Postleitzahl teilen, das Wachstum der Zeiten (auch je\n"
    "Verdopplung der Zeilen) und ob die Ziele erreicht sind. Die Exporte einer Dichte entstehen\n"
    "zuerst; dann misst jeder Lauf alle Größen, jeder zweite in umgekehrter Reihenfolge, und vor\n"
    "jeder Messung schreibt sync die Dateien der vorigen auf die Platte.\n"
    "\n"
    "  --sizes ZAHLEN      Mitgliederzeilen, durch Kommas getrennt (Vorgabe 25000,50000,100000,200000);\n"
    "                      1000000 auch als 1m, 25000 auch als 25k\n"
    "  --je-verein ZAHLEN  Mitgliederzeilen je Verein, durch Kommas getrennt (Vorgabe 100 wie in einem\n"
    "                      echten Verband; 40 für einen Verband vieler kleiner Vereine)\n"
    "  --laeufe ZAHL       Läufe je Messung, ausgegeben wird der Median (Vorgabe 1)\n"
    "  --fenster           bei 200 000 Zeilen auch die Umsetzung über das Programmfenster messen\n"
    "                      (tvx-bench-fenster, Plattform offscreen) und dem Stapelprogramm gegenüberstellen\n"
    "  --ziele             alle Ziele auf einmal: --sizes 100k,200k,1m --je-verein 100,40 --laeufe 3\n"
    "                      --fenster (spätere Angaben gelten vor diesen)\n"
    "  --seed ZAHL         Startwert des Exports (Vorgabe 20260101)\n"
    "  --lf                den Export mit LF statt CR LF als Zeilenende schreiben\n"
    "  --utf8              den Export in UTF-8 ohne Byte-Order-Mark statt Windows-1252 schreiben\n"
    "  --vergleich         je Größe nur die Umsetzung messen, abwechselnd mit CR LF und Windows-1252\n"
    "                      und in der Form von --lf und --utf8 (ohne beide: LF und UTF-8), je Form\n"
    "                      mindestens dreimal, und den Mehraufwand der Mediane zeigen\n"
    "  --keep              die Arbeitsordner behalten (Export, Datenbanken, Logdateien)\n"
    "  --ordner ORDNER     hier die Arbeitsordner anlegen (Vorgabe $TMPDIR oder /tmp)\n"
    "\n"
    "tvx-vidazer-batch, tvx-bench-fenster und wkak.zrv werden im Ordner von tvx-bench gesucht,\n"
    "sqlite3 im PATH.\n";

struct Arguments
{
    std::vector<std::size_t> sizes{25'000, 50'000, 100'000, 200'000};
    std::vector<std::size_t> densities{100};
    int runs = 1;
    bool window = false;
    std::uint32_t seed = 20260101;
    bool lf = false;
    bool utf8 = false;
    bool compare = false;
    bool keep = false;
    std::string folder;
};

// The size at which the window is set against the batch program.
constexpr std::size_t kWindowSize = 200'000;

std::optional<std::size_t> parseSize(std::string text)
{
    std::size_t factor = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K'))
        factor = 1000;
    else if (!text.empty() && (text.back() == 'm' || text.back() == 'M'))
        factor = 1'000'000;
    if (factor != 1)
        text.pop_back();
    std::size_t value = 0;
    bool any = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::size_t>(c - '0');
            any = true;
            if (value > 100'000'000)
                return std::nullopt;
        } else if (c != '_' && c != '.' && c != ' ' && c != '\'') {
            return std::nullopt;
        }
    }
    if (!any || value == 0)
        return std::nullopt;
    return value * factor;
}

std::optional<Arguments> parse(int argc, char** argv)
{
    Arguments parsed;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        const std::size_t equals = arg.find('=');
        const bool inlineValue = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inlineValue) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const auto next = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return value;
            if (i + 1 < argc)
                return std::string(argv[++i]);
            return std::nullopt;
        };
        // A list of numbers separated by commas, each at most limit.
        const auto list = [&](std::vector<std::size_t>& values, std::size_t limit) {
            const auto text = next();
            if (!text)
                return false;
            values.clear();
            std::stringstream stream(*text);
            std::string item;
            while (std::getline(stream, item, ',')) {
                const auto number = parseSize(item);
                if (!number || *number > limit)
                    return false;
                values.push_back(*number);
            }
            return !values.empty();
        };
        if (arg == "--keep") {
            parsed.keep = true;
        } else if (arg == "--lf") {
            parsed.lf = true;
        } else if (arg == "--utf8") {
            parsed.utf8 = true;
        } else if (arg == "--vergleich") {
            parsed.compare = true;
        } else if (arg == "--fenster") {
            parsed.window = true;
        } else if (arg == "--ziele") {
            parsed.sizes = {100'000, 200'000, 1'000'000};
            parsed.densities = {100, 40};
            parsed.runs = 3;
            parsed.window = true;
        } else if (arg == "--sizes" || arg == "--size") {
            if (!list(parsed.sizes, 100'000'000))
                return std::nullopt;
        } else if (arg == "--je-verein") {
            if (!list(parsed.densities, 1'000'000))
                return std::nullopt;
        } else if (arg == "--laeufe") {
            const auto count = next();
            const auto number = count ? parseSize(*count) : std::nullopt;
            if (!number || *number > 99)
                return std::nullopt;
            parsed.runs = static_cast<int>(*number);
        } else if (arg == "--seed") {
            const auto seed = next();
            const auto number = seed ? parseSize(*seed) : std::nullopt;
            if (!number || *number > 0xFFFFFFFFu)
                return std::nullopt;
            parsed.seed = static_cast<std::uint32_t>(*number);
        } else if (arg == "--ordner") {
            const auto folder = next();
            if (!folder)
                return std::nullopt;
            parsed.folder = *folder;
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

// --- children -------------------------------------------------------------------------------

struct ChildResult
{
    bool started = false;
    int exitCode = -1; // 128 + signal when killed by one
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the child
    long maxRssKiB = 0;
};

// Runs program with an argument vector (never through a shell), standard input from
// /dev/null, standard output and error into files, in workDir. Waits for it and returns its
// own resource use, not that of any other child.
ChildResult runChild(const std::string& program, const std::vector<std::string>& args, const fs::path& workDir,
                     const fs::path& outFile, const fs::path& errFile, const std::vector<std::string>& environment)
{
    // Everything is prepared before fork: the child only calls functions that are safe there.
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    const std::string dir = workDir.string();
    const std::string out = outFile.string();
    const std::string err = errFile.string();

    ChildResult result;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || o < 0 || e < 0 || chdir(dir.c_str()) != 0 || dup2(in, 0) < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0)
            _exit(126);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    if (pid < 0)
        return result;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return result;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.started = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.maxRssKiB = usage.ru_maxrss;
    const auto cpu = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    result.cpuSeconds = cpu(usage.ru_utime) + cpu(usage.ru_stime);
    return result;
}

std::vector<std::string> environmentWith(const std::string& name, const std::string& value)
{
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind(name + "=", 0) != 0)
            result.push_back(text);
    }
    result.push_back(name + "=" + value);
    return result;
}

std::vector<std::string> currentEnvironment()
{
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry)
        result.emplace_back(*entry);
    return result;
}

bool executable(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

std::optional<fs::path> findSqlite()
{
    if (const char* path = std::getenv("PATH")) {
        std::stringstream stream(path);
        std::string dir;
        while (std::getline(stream, dir, ':')) {
            if (!dir.empty() && executable(fs::path(dir) / "sqlite3"))
                return fs::path(dir) / "sqlite3";
        }
    }
#ifdef TVX_SQLITE3_PROGRAMM
    if (executable(TVX_SQLITE3_PROGRAMM))
        return fs::path(TVX_SQLITE3_PROGRAMM);
#endif
    return std::nullopt;
}

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// The value after "label: " on a line of text, or empty.
std::string valueOf(const std::string& text, const std::string& label)
{
    std::stringstream stream(text);
    std::string line;
    std::string found;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(label + ": ", 0) == 0)
            found = line.substr(label.size() + 2);
    }
    return found;
}

std::string lastLines(const std::string& text, std::size_t count)
{
    std::size_t pos = text.size();
    for (std::size_t n = 0; n <= count && pos > 0; ++n)
        pos = text.rfind('\n', pos - 1);
    return pos == std::string::npos ? text : text.substr(pos + 1);
}

// --- output ---------------------------------------------------------------------------------

// 25 000: groups of three digits, as the figures are written in German text.
std::string grouped(std::size_t value)
{
    std::string digits = std::to_string(value);
    std::string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += ' ';
        result += digits[i];
    }
    return result;
}

// Digits of a count the batch printed ("5 000 / 5 391" stays as the program wrote it).
std::string groupedText(const std::string& text)
{
    std::string result;
    std::string number;
    const auto flush = [&] {
        if (!number.empty())
            result += grouped(static_cast<std::size_t>(std::stoull(number)));
        number.clear();
    };
    for (const char c : text) {
        if (c >= '0' && c <= '9' && number.size() < 18) {
            number += c;
        } else {
            flush();
            result += c;
        }
    }
    flush();
    return result.empty() ? "?" : result;
}

std::string decimal(double value, int places)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return text;
}

std::size_t width(const std::string& utf8)
{
    std::size_t n = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    }
    return n;
}

struct Column
{
    std::string title;
    std::size_t width;
    bool left = false;
};

std::string cell(const std::string& text, const Column& column)
{
    const std::size_t fill = column.width > width(text) ? column.width - width(text) : 0;
    return column.left ? text + std::string(fill, ' ') : std::string(fill, ' ') + text;
}

void printRow(const std::vector<Column>& columns, const std::vector<std::string>& values)
{
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i)
        line += (i ? "  " : "") + cell(i < values.size() ? values[i] : "", columns[i]);
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    std::cout << line << "\n" << std::flush;
}

void printHeader(const std::vector<Column>& columns)
{
    std::vector<std::string> titles;
    std::size_t total = 0;
    for (const Column& column : columns) {
        titles.push_back(column.title);
        total += column.width + 2;
    }
    printRow(columns, titles);
    std::cout << std::string(total - 2, '-') << "\n";
}

std::string megabytes(long kibibytes)
{
    return decimal(static_cast<double>(kibibytes) * 1024.0 / 1e6, 1) + " MB";
}

// --- one size -------------------------------------------------------------------------------

// What is being done now, on standard error: on a terminal in one line that the next result
// row replaces, elsewhere one line each.
void progress(const std::string& text)
{
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    if (terminal)
        std::cerr << "\r" << text << "\x1b[K" << std::flush;
    else if (!text.empty())
        std::cerr << text << std::endl;
}

// The runs of one program on one export, told by their median: the middle one of an odd
// number, the mean of the two middle ones of an even number. Memory is the most any run took.
struct Runs
{
    std::vector<ChildResult> runs;

    static double median(std::vector<double> values)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    }
    double seconds() const
    {
        std::vector<double> values;
        for (const ChildResult& run : runs)
            values.push_back(run.seconds);
        return median(values);
    }
    double cpuSeconds() const
    {
        std::vector<double> values;
        for (const ChildResult& run : runs)
            values.push_back(run.cpuSeconds);
        return median(values);
    }
    long maxRssKiB() const
    {
        long most = 0;
        for (const ChildResult& run : runs)
            most = std::max(most, run.maxRssKiB);
        return most;
    }
};

struct Measurement
{
    std::size_t size = 0;
    std::size_t membersPerClub = 0;
    fs::path folder;
    bool ok = false;
    double generateSeconds = 0;
    std::uintmax_t exportBytes = 0;
    exportgen::ExportFiles files;
    Runs raw;
    Runs conversion;
    Runs window; // the conversion through the window, at kWindowSize lines with --fenster
    std::map<std::string, std::string> counts;
};

struct Tools
{
    fs::path sqlite;
    fs::path batch;
    fs::path window;
    fs::path definitions;
};

std::string createTable(const std::string& name, int columns)
{
    std::string sql = "CREATE TABLE " + name + " (";
    for (int i = 1; i <= columns; ++i)
        sql += (i > 1 ? ", s" : "s") + std::to_string(i);
    return sql + ");";
}

// The raw load floor: the three files as they are, bytes and all, into three tables with one
// column per field, in the export folder so that the file names need no quoting. A floor only
// counts when every line arrived.
bool loadRaw(Measurement& m, const Tools& tools, const fs::path& exportFolder, const fs::path& folder)
{
    const fs::path rawDatabase = folder / "roh.sqlite";
    fs::remove(rawDatabase);
    const std::vector<std::string> rawArgs = {
        "sqlite3",
        "-bail",
        rawDatabase.string(),
        createTable("vereine", 19) + createTable("mitglieder", 20) + createTable("startrechte", 6),
        ".mode csv",
        ".import " + m.files.clubs.filename().string() + " vereine",
        ".import " + m.files.members.filename().string() + " mitglieder",
        ".import " + m.files.startRights.filename().string() + " startrechte",
    };
    const ChildResult raw = runChild(tools.sqlite.string(), rawArgs, exportFolder, folder / "sqlite3.out",
                                     folder / "sqlite3.err", currentEnvironment());
    if (!raw.started || raw.exitCode != 0) {
        progress("");
        std::cerr << "Fehler: sqlite3 .import endete mit " << raw.exitCode << "\n"
                  << lastLines(readFile(folder / "sqlite3.err"), 10) << "\n";
        return false;
    }
    m.raw.runs.push_back(raw);
    const std::vector<std::string> countArgs = {
        "sqlite3", rawDatabase.string(),
        "SELECT (SELECT count(*) FROM vereine) || ' ' || (SELECT count(*) FROM mitglieder) || ' ' || "
        "(SELECT count(*) FROM startrechte);"};
    runChild(tools.sqlite.string(), countArgs, folder, folder / "zaehlung.out", folder / "zaehlung.err",
             currentEnvironment());
    const std::string expected = std::to_string(m.files.clubLines) + " " + std::to_string(m.files.memberLines) + " " +
                                 std::to_string(m.files.startRightLines);
    std::string loaded = readFile(folder / "zaehlung.out");
    while (!loaded.empty() && (loaded.back() == '\n' || loaded.back() == '\r'))
        loaded.pop_back();
    if (loaded != expected) {
        progress("");
        std::cerr << "Warnung: sqlite3 hat nicht alle Zeilen geladen (Vereine, Mitglieder, Startrechte: " << loaded
                  << " statt " << expected << ")\n";
    }
    return true;
}

// The whole conversion, with its log, into a new club database in a folder of its own, where its
// settings go too; it works on a copy of the definitions file.
bool convert(Measurement& m, const Tools& tools, const fs::path& exportFolder, const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder / "anwendungsdaten");
    const fs::path definitions = folder / "wkak.zrv";
    fs::copy_file(tools.definitions, definitions, fs::copy_options::overwrite_existing);
    const std::vector<std::string> batchArgs = {"tvx-vidazer-batch", exportFolder.string(),
                                                (folder / "Verein.vdb").string(), definitions.string()};
    const ChildResult conversion =
        runChild(tools.batch.string(), batchArgs, folder, folder / "batch.out", folder / "batch.err",
                 environmentWith("XDG_DATA_HOME", (folder / "anwendungsdaten").string()));
    const std::string out = readFile(folder / "batch.out");
    const std::string err = readFile(folder / "batch.err");
    if (!conversion.started || conversion.exitCode != 0) {
        progress("");
        std::cerr << "Fehler: tvx-vidazer-batch endete mit " << conversion.exitCode << "\n"
                  << lastLines(err, 10) << "\n";
        return false;
    }
    m.conversion.runs.push_back(conversion);
    // Progress "lines read / stored" per step on standard error, the contents of the club
    // database on standard output.
    for (const char* step : {"Vereine", "Mitglieder", "Startberechtigungen"})
        m.counts[std::string("Schritt ") + step] = valueOf(err, step);
    for (const char* item : {"Schützen", "Mitgliedschaften ges.", "Zweit-(Mehrfach-) Mitgliedschaften",
                             "Startberechtigungen", "Hochmeldungen", "Problemzeilen"})
        m.counts[item] = valueOf(out, item);
    return true;
}

// The same conversion through the program's window on the offscreen platform: the time from
// Start to the end of the run, as tvx-bench-fenster tells it.
bool convertInWindow(Measurement& m, const Tools& tools, const fs::path& exportFolder, const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path definitions = folder / "wkak.zrv";
    fs::copy_file(tools.definitions, definitions, fs::copy_options::overwrite_existing);
    const std::vector<std::string> args = {"tvx-bench-fenster", exportFolder.string(), (folder / "Verein.vdb").string(),
                                           definitions.string()};
    ChildResult window = runChild(tools.window.string(), args, folder, folder / "fenster.out", folder / "fenster.err",
                                  environmentWith("QT_QPA_PLATFORM", "offscreen"));
    const std::string out = readFile(folder / "fenster.out");
    const std::string run = valueOf(out, "Lauf");
    const std::string cpu = valueOf(out, "Prozessorzeit");
    if (!window.started || window.exitCode != 0 || run.empty() || cpu.empty()) {
        progress("");
        std::cerr << "Fehler: tvx-bench-fenster endete mit " << window.exitCode << "\n"
                  << lastLines(readFile(folder / "fenster.err"), 10) << "\n";
        return false;
    }
    window.seconds = std::stod(run);
    window.cpuSeconds = std::stod(cpu);
    m.window.runs.push_back(window);
    return true;
}

// "100 000 Zeilen, 40 je Verein: ", in front of what the progress line tells of a measurement.
std::string measurementName(const Measurement& m)
{
    return grouped(m.size) + " Zeilen, " + std::to_string(m.membersPerClub) + " je Verein: ";
}

// Writes the export of one measurement into a folder of its own; nothing is measured yet.
Measurement prepare(std::size_t size, std::size_t membersPerClub, const Arguments& arguments, const fs::path& scratch)
{
    Measurement m;
    m.size = size;
    m.membersPerClub = membersPerClub;
    // One folder for each measurement, named by its size and density ("25000-je-100", a second
    // one "25000-je-100-2").
    const std::string name = std::to_string(size) + "-je-" + std::to_string(membersPerClub);
    fs::path folder = scratch / name;
    for (int n = 2; fs::exists(folder); ++n)
        folder = scratch / (name + "-" + std::to_string(n));
    m.folder = folder;
    const fs::path exportFolder = folder / "export";
    fs::create_directories(exportFolder);

    progress(measurementName(m) + "Export erzeugen ...");
    exportgen::ExportOptions options;
    options.seed = arguments.seed;
    options.memberLines = size;
    options.membersPerClub = membersPerClub;
    options.lfLineEnds = arguments.lf;
    options.utf8 = arguments.utf8;
    const auto start = std::chrono::steady_clock::now();
    m.files = exportgen::generateExport(exportFolder, options);
    m.generateSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const fs::path& file : {m.files.districts, m.files.clubs, m.files.members, m.files.startRights})
        m.exportBytes += fs::file_size(file);
    // A child starts with the memory of this process, and the peak memory that the system tells of
    // it counts from there: what the generator held goes back to the system first.
    malloc_trim(0);
    m.ok = true;
    return m;
}

// One run of every program on the export of m; false (and m no longer ok) when one failed. The
// files that earlier runs wrote go to the disk first: otherwise the system writes them back
// while this run is measured, and a small run after a large one pays for the large one.
bool runOnce(Measurement& m, int run, const Arguments& arguments, const Tools& tools)
{
    const std::string of = " (" + std::to_string(run) + "/" + std::to_string(arguments.runs) + ") ...";
    const std::string what = measurementName(m);
    const fs::path exportFolder = m.folder / "export";
    progress(what + "sqlite3 .import" + of);
    sync();
    m.ok = loadRaw(m, tools, exportFolder, m.folder);
    progress(what + "tvx-vidazer-batch" + of);
    sync();
    m.ok = m.ok && convert(m, tools, exportFolder, m.folder / "umsetzung");
    if (m.ok && arguments.window && m.size == kWindowSize) {
        progress(what + "tvx-bench-fenster" + of);
        sync();
        m.ok = convertInWindow(m, tools, exportFolder, m.folder / "fenster");
    }
    return m.ok;
}

// The measurements of one density. The programs and the sizes take turns, run by run, the sizes
// in the other order every second run: a machine that gets busier or quieter meanwhile touches
// every size alike, and the ratio of two sizes is not that of two moments. Only the last run's
// databases stay.
void measureDensity(std::vector<Measurement>& results, std::size_t membersPerClub, const Arguments& arguments,
                    const Tools& tools, const fs::path& scratch)
{
    const std::size_t first = results.size();
    for (const std::size_t size : arguments.sizes) {
        try {
            results.push_back(prepare(size, membersPerClub, arguments, scratch));
        } catch (const std::exception& e) {
            progress("");
            std::cerr << "Fehler: " << e.what() << "\n";
            Measurement failed;
            failed.size = size;
            failed.membersPerClub = membersPerClub;
            results.push_back(failed);
        }
    }
    const std::size_t count = results.size() - first;
    for (int run = 1; run <= arguments.runs; ++run) {
        for (std::size_t turn = 0; turn < count; ++turn) {
            Measurement& m = results[first + (run % 2 == 1 ? turn : count - 1 - turn)];
            if (!m.ok)
                continue;
            try {
                runOnce(m, run, arguments, tools);
            } catch (const std::exception& e) {
                progress("");
                std::cerr << "Fehler: " << e.what() << "\n";
                m.ok = false;
            }
        }
    }
    progress("");
}

// "CR LF, Windows-1252" as the member administration writes an export, "LF, UTF-8" as it may
// arrive.
std::string formName(bool lf, bool utf8)
{
    return std::string(lf ? "LF" : "CR LF") + ", " + (utf8 ? "UTF-8" : "Windows-1252");
}

// The same export in both forms, converted at least three times each, the forms taking turns so
// that a machine growing busier weighs on both alike. Prints the medians and the extra cost of
// the second form; false when a conversion failed or the two forms did not count alike.
bool compareForms(std::size_t size, std::size_t membersPerClub, const Arguments& arguments, const Tools& tools,
                  const fs::path& scratch)
{
    const int runs = std::max(arguments.runs, 3);
    const bool forms[2][2] = {{false, false}, {arguments.lf || !arguments.utf8, arguments.utf8 || !arguments.lf}};
    Measurement m[2];
    for (int f = 0; f < 2; ++f) {
        m[f].folder = scratch / (std::to_string(size) + "-je-" + std::to_string(membersPerClub) + "-form-" +
                                 std::to_string(f + 1));
        progress(grouped(size) + " Zeilen: Export " + formName(forms[f][0], forms[f][1]) + " erzeugen ...");
        exportgen::ExportOptions options;
        options.seed = arguments.seed;
        options.memberLines = size;
        options.membersPerClub = membersPerClub;
        options.lfLineEnds = forms[f][0];
        options.utf8 = forms[f][1];
        m[f].files = exportgen::generateExport(m[f].folder / "export", options);
    }
    malloc_trim(0);
    for (int run = 0; run < runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            const int f = run % 2 == 0 ? turn : 1 - turn;
            progress(grouped(size) + " Zeilen: " + formName(forms[f][0], forms[f][1]) + ", Lauf " +
                     std::to_string(run + 1) + " ...");
            if (!convert(m[f], tools, m[f].folder / "export", m[f].folder / "umsetzung"))
                return false;
        }
    }
    progress("");

    const std::vector<Column> columns = {
        {"Form", 20, true}, {"Uhrzeit", 9}, {"Prozessorzeit", 13}, {"Läufe (Uhrzeit)", 24}};
    std::cout << "Vergleich bei " << grouped(size) << " Zeilen, " << membersPerClub << " je Verein (Median von " << runs
              << " Läufen je Form):\n";
    printHeader(columns);
    for (int f = 0; f < 2; ++f) {
        std::string times;
        for (const ChildResult& run : m[f].conversion.runs)
            times += (times.empty() ? "" : " / ") + decimal(run.seconds, 2);
        printRow(columns, {formName(forms[f][0], forms[f][1]), decimal(m[f].conversion.seconds(), 2) + " s",
                           decimal(m[f].conversion.cpuSeconds(), 2) + " s", times});
    }
    const auto extra = [](double a, double b) { return 100.0 * (b / std::max(a, 1e-6) - 1.0); };
    const double wall = extra(m[0].conversion.seconds(), m[1].conversion.seconds());
    const double cpu = extra(m[0].conversion.cpuSeconds(), m[1].conversion.cpuSeconds());
    const bool same = m[0].counts == m[1].counts;
    std::cout << "Mehraufwand " << formName(forms[1][0], forms[1][1]) << ": Uhrzeit " << (wall >= 0 ? "+" : "")
              << decimal(wall, 1) << " %, Prozessorzeit " << (cpu >= 0 ? "+" : "") << decimal(cpu, 1)
              << " % – Ziel höchstens 5 % (Uhrzeit): " << (wall <= 5.0 ? "erfüllt" : "NICHT erfüllt") << "\n"
              << "Zähler beider Formen gleich: " << (same ? "ja" : "NEIN") << "\n\n";
    return same;
}

const std::vector<Column> kTimes = {
    {"Zeilen", 9},     {"Vereine", 7},     {"Startrechte", 11},   {"Export", 9},           {"sqlite3 .import", 15},
    {"Umsetzung", 10}, {"Verhältnis", 10}, {"Prozessorzeit", 13}, {"Spitzenspeicher", 15},
};

const std::vector<Column> kCounts = {
    {"Zeilen", 9},        {"Vereine", 13},  {"Mitglieder", 19},
    {"Startrechte", 17},  {"Schützen", 9},  {"Mitgliedschaften", 16},
    {"davon Zweit-", 12}, {"Hochmeld.", 9}, {"Problemzeilen", 13},
};

void printTimes(const Measurement& m)
{
    if (!m.ok) {
        printRow(kTimes, {grouped(m.size), "", "", "", "", "fehlgeschlagen"});
        return;
    }
    printRow(kTimes, {grouped(m.size), grouped(m.files.clubLines), grouped(m.files.startRightLines),
                      decimal(static_cast<double>(m.exportBytes) / 1e6, 1) + " MB", decimal(m.raw.seconds(), 2) + " s",
                      decimal(m.conversion.seconds(), 2) + " s",
                      decimal(m.conversion.seconds() / std::max(m.raw.seconds(), 1e-6), 1),
                      decimal(m.conversion.cpuSeconds() / std::max(m.raw.cpuSeconds(), 1e-6), 1),
                      megabytes(m.conversion.maxRssKiB())});
}

void printCounts(const Measurement& m)
{
    if (!m.ok)
        return;
    const auto count = [&](const std::string& key) {
        const auto found = m.counts.find(key);
        return groupedText(found == m.counts.end() ? "" : found->second);
    };
    printRow(kCounts, {grouped(m.size), count("Schritt Vereine"), count("Schritt Mitglieder"),
                       count("Schritt Startberechtigungen"), count("Schützen"), count("Mitgliedschaften ges."),
                       count("Zweit-(Mehrfach-) Mitgliedschaften"), count("Hochmeldungen"), count("Problemzeilen")});
}

const std::vector<Column> kShares = {
    {"Zeilen", 9},          {"Personen", 9},         {"mit Namensvetter", 16}, {"häufigstes Paar", 15},
    {"Postleitzahlen", 14}, {"Personen je PLZ", 15}, {"größte PLZ", 10},
};

// How often the persons of the export share first and last name and postcode: what the person
// search of the conversion has to sift through.
void printShares(const Measurement& m)
{
    if (m.files.persons == 0)
        return;
    const exportgen::ExportFiles& f = m.files;
    printRow(kShares,
             {grouped(m.size), grouped(f.persons),
              decimal(100.0 * static_cast<double>(f.namesakes) / static_cast<double>(f.persons), 1) + " %",
              grouped(f.largestNamesakes), grouped(f.postcodes),
              decimal(static_cast<double>(f.persons) / static_cast<double>(std::max<std::size_t>(f.postcodes, 1)), 0),
              grouped(f.largestPostcode)});
}

// The growth from size to size, and what it makes for one doubling: 2,00 grows in step with
// the export.
void printGrowth(const std::vector<const Measurement*>& results)
{
    bool shown = false;
    for (std::size_t i = 1; i < results.size(); ++i) {
        const Measurement& a = *results[i - 1];
        const Measurement& b = *results[i];
        if (!a.ok || !b.ok || b.size <= a.size)
            continue;
        if (!shown)
            std::cout << "\nWachstum der Zeiten (Uhrzeit, Prozessorzeit; je Verdopplung der Zeilen):\n";
        shown = true;
        const double size = static_cast<double>(b.size) / static_cast<double>(a.size);
        const double wall = b.conversion.seconds() / std::max(a.conversion.seconds(), 1e-6);
        const double cpu = b.conversion.cpuSeconds() / std::max(a.conversion.cpuSeconds(), 1e-6);
        const auto perDoubling = [&](double growth) { return std::pow(growth, std::log(2.0) / std::log(size)); };
        std::cout << "  " << grouped(a.size) << " -> " << grouped(b.size) << " Zeilen (× " << decimal(size, 2)
                  << "): Umsetzung × " << decimal(wall, 2) << ", " << decimal(cpu, 2) << "; je Verdopplung × "
                  << decimal(perDoubling(wall), 2) << ", " << decimal(perDoubling(cpu), 2) << "; sqlite3 .import × "
                  << decimal(b.raw.seconds() / std::max(a.raw.seconds(), 1e-6), 2) << "\n";
    }
}

// The conversion through the window against the batch program's.
void printWindow(const std::vector<const Measurement*>& results)
{
    for (const Measurement* m : results) {
        if (!m->ok || m->window.runs.empty())
            continue;
        std::cout << "\nFenster (offscreen) gegen Stapelprogramm, " << grouped(m->size) << " Zeilen: Lauf im Fenster "
                  << decimal(m->window.seconds(), 2) << " s (" << decimal(m->window.cpuSeconds(), 2)
                  << " s Prozessorzeit), tvx-vidazer-batch " << decimal(m->conversion.seconds(), 2) << " s ("
                  << decimal(m->conversion.cpuSeconds(), 2) << " s)\n";
    }
}

// Each goal by the times on the clock, the processor times in brackets.
void printGoals(const std::vector<const Measurement*>& results)
{
    const auto find = [&](std::size_t size) -> const Measurement* {
        for (const Measurement* m : results) {
            if (m->size == size && m->ok)
                return m;
        }
        return nullptr;
    };
    const auto verdict = [](bool met) { return met ? "erfüllt" : "NICHT erfüllt"; };
    const auto ratio = [](const Runs& a, const Runs& b) {
        return std::pair{a.seconds() / std::max(b.seconds(), 1e-6), a.cpuSeconds() / std::max(b.cpuSeconds(), 1e-6)};
    };
    std::vector<std::string> lines;
    const auto goal = [&](const std::string& text, std::pair<double, double> value, double limit) {
        lines.push_back(text + ": " + decimal(value.first, 2) + " (" + decimal(value.second, 2) + ") – " +
                        verdict(value.first <= limit));
    };
    const Measurement* hundred = find(100'000);
    const Measurement* million = find(1'000'000);
    const Measurement* window = find(kWindowSize);
    if (hundred && million)
        goal("Zeit(1 000 000) höchstens 10,0 × Zeit(100 000)", ratio(million->conversion, hundred->conversion), 10.0);
    if (hundred)
        goal("100 000 Zeilen: Umsetzung höchstens 4 × sqlite3 .import (angestrebt 3 ×)",
             ratio(hundred->conversion, hundred->raw), 4.0);
    if (million) {
        goal("1 000 000 Zeilen: Umsetzung höchstens 5 × sqlite3 .import (angestrebt 3 ×)",
             ratio(million->conversion, million->raw), 5.0);
        const double mb = static_cast<double>(million->conversion.maxRssKiB()) * 1024.0 / 1e6;
        lines.push_back("1 000 000 Zeilen: Spitzenspeicher unter 300 MB: " + decimal(mb, 1) + " MB – " +
                        verdict(mb < 300.0));
    }
    if (window && !window->window.runs.empty())
        goal("200 000 Zeilen: Lauf im Fenster höchstens 1,1 × tvx-vidazer-batch",
             ratio(window->window, window->conversion), 1.1);
    if (lines.empty())
        return;
    std::cout << "\nZiele (Uhrzeit, in Klammern Prozessorzeit):\n";
    for (const std::string& line : lines)
        std::cout << "  " << line << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    const std::optional<Arguments> arguments = parse(argc, argv);
    if (!arguments) {
        std::cerr << kUsage;
        return 2;
    }

    std::error_code ec;
    const fs::path programFolder = fs::read_symlink("/proc/self/exe", ec).parent_path();
    Tools tools;
    tools.batch = programFolder / "tvx-vidazer-batch";
    tools.definitions = programFolder / "wkak.zrv";
    if (!executable(tools.batch)) {
        std::cerr << "Fehler: " << tools.batch.string() << " wurde nicht gefunden.\n";
        return 2;
    }
    if (!fs::is_regular_file(tools.definitions, ec)) {
        std::cerr << "Fehler: " << tools.definitions.string() << " wurde nicht gefunden.\n";
        return 2;
    }
    const std::optional<fs::path> sqlite = findSqlite();
    if (!sqlite) {
        std::cerr << "Fehler: Das Programm sqlite3 wurde nicht gefunden.\n";
        return 2;
    }
    tools.sqlite = *sqlite;

    std::string base = arguments->folder;
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = (fs::path(base) / "tvx-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::cerr << "Fehler: In " << base << " kann kein Arbeitsordner angelegt werden.\n";
        return 2;
    }
    const fs::path scratch = pattern;

    if (arguments->window) {
        tools.window = programFolder / "tvx-bench-fenster";
        if (!executable(tools.window)) {
            std::cerr << "Fehler: " << tools.window.string() << " wurde nicht gefunden.\n";
            return 2;
        }
    }

    std::cout << "TVX-Vidazer Benchmark: Startwert " << arguments->seed << ", Umsetzung mit Logdatei, "
              << (arguments->runs == 1 ? std::string("ein Lauf")
                                       : "Median von " + std::to_string(arguments->runs) + " Läufen")
              << " je Messung\n"
              << "Export:            "
              << (arguments->compare ? "beide Formen" : formName(arguments->lf, arguments->utf8)) << "\n"
              << "tvx-vidazer-batch: " << tools.batch.string() << "\n"
              << "sqlite3:           " << tools.sqlite.string() << "\n"
              << "Arbeitsordner:     " << scratch.string() << "\n";
    if (arguments->compare) {
        std::cout << "\n";
        bool same = true;
        for (const std::size_t density : arguments->densities) {
            for (const std::size_t size : arguments->sizes) {
                try {
                    same = compareForms(size, density, *arguments, tools, scratch) && same;
                } catch (const std::exception& e) {
                    progress("");
                    std::cerr << "Fehler: " << e.what() << "\n";
                    same = false;
                }
            }
        }
        if (!arguments->keep)
            fs::remove_all(scratch, ec);
        return same ? 0 : 1;
    }

    std::vector<Measurement> results;
    bool allOk = true;
    for (const std::size_t density : arguments->densities) {
        std::cout << "\n" << density << " Mitgliederzeilen je Verein\n\n";
        printHeader(kTimes);
        std::vector<const Measurement*> ofDensity;
        const std::size_t first = results.size();
        measureDensity(results, density, *arguments, tools, scratch);
        for (std::size_t i = first; i < results.size(); ++i) {
            allOk = allOk && results[i].ok;
            printTimes(results[i]);
            if (!arguments->keep && !results[i].folder.empty())
                fs::remove_all(results[i].folder, ec);
        }
        for (std::size_t i = first; i < results.size(); ++i)
            ofDensity.push_back(&results[i]);

        std::cout << "\nZähler der Umsetzung (Schritte: Zeilen gelesen / gespeichert; Inhalt der Vereinsdatenbank):\n";
        printHeader(kCounts);
        for (const Measurement* m : ofDensity)
            printCounts(*m);

        std::cout << "\nNamen und Postleitzahlen der Personen (mit Namensvetter: eine andere Person hat denselben "
                     "Vor- und Nachnamen):\n";
        printHeader(kShares);
        for (const Measurement* m : ofDensity)
            printShares(*m);

        printGrowth(ofDensity);
        printWindow(ofDensity);
        printGoals(ofDensity);
    }

    if (arguments->keep) {
        std::cout << "\nDie Arbeitsordner bleiben in " << scratch.string() << "\n";
    } else {
        fs::remove_all(scratch, ec);
    }
    return allOk ? 0 : 1;
}
