// tvx-bench-fenster: one conversion through the program's window, for tvx-bench to set against
// the batch program. It opens the window (on the offscreen platform unless another is set),
// chooses the export folder, a new club database and the definitions file as a user would, with
// every question answered as a user converting a federation would (replace the club database:
// yes; show the log: no), presses Start and prints how long the run took from Start to its end,
// on the clock and in processor time.
//
// Its home, settings and data folders are made in the folder of the club database, so that it
// never touches the files of whoever runs it.

#include "app/Anzeigefeld.h"
#include "app/MainVdbVidazer.h"
#include "questions/Questions.h"

#include <QApplication>
#include <QPushButton>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kUsage = "Aufruf: tvx-bench-fenster EXPORTORDNER VEREINSDATENBANK WETTKAMPFDEFINITIONEN\n"
                           "\n"
                           "Setzt den Exportordner über das Programmfenster in eine neue Vereinsdatenbank um und gibt\n"
                           "die Dauer des Laufs von Start bis zu seinem Ende aus (Uhrzeit und Prozessorzeit).\n";

// The choices and answers of a user who converts one export folder.
class Antworten : public questions::Questions
{
public:
    Antworten(std::string exportOrdner, std::string vdb, std::string wkak)
        : m_exportOrdner(std::move(exportOrdner)), m_vdb(std::move(vdb)), m_wkak(std::move(wkak))
    {
    }

    questions::Answer ask(const std::string& title, const std::string& text, questions::Buttons buttons) override
    {
        if (title == "Fehler")
            fehler.push_back(text);
        if (buttons != questions::Buttons::YesNo)
            return buttons == questions::Buttons::Ok ? questions::Answer::Ok : questions::Answer::Cancel;
        // The log is there to be read later; an existing club database is replaced.
        return title == "Logdatei" ? questions::Answer::No : questions::Answer::Yes;
    }

    std::optional<std::string> chooseFile(const questions::FileChoice& choice) override
    {
        return choice.title == "Vereinsdatenbank anlegen" ? m_vdb : m_wkak;
    }

    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return m_exportOrdner; }

    std::vector<std::string> fehler; // the texts of the messages titled "Fehler"

private:
    std::string m_exportOrdner;
    std::string m_vdb;
    std::string m_wkak;
};

double prozessorzeit()
{
    rusage verbrauch{};
    getrusage(RUSAGE_SELF, &verbrauch);
    const auto sekunden = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return sekunden(verbrauch.ru_utime) + sekunden(verbrauch.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << kUsage;
        return 2;
    }
    std::error_code ec;
    const fs::path exportOrdner = fs::absolute(argv[1], ec);
    const fs::path vdb = fs::absolute(argv[2], ec);
    const fs::path wkak = fs::absolute(argv[3], ec);
    const fs::path arbeitsordner = vdb.parent_path() / "fenster";
    for (const char* ordner : {"home", "daten", "einstellungen", "laufzeit"})
        fs::create_directories(arbeitsordner / ordner, ec);
    fs::permissions(arbeitsordner / "laufzeit", fs::perms::owner_all, ec);
    setenv("HOME", (arbeitsordner / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (arbeitsordner / "daten").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (arbeitsordner / "einstellungen").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (arbeitsordner / "laufzeit").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    QApplication anwendung(argc, argv);
    Antworten antworten(exportOrdner.string(), vdb.string(), wkak.string());
    const std::string programmOrdner = fs::read_symlink("/proc/self/exe", ec).parent_path().string();
    fenster::MainVdbVidazer hauptfenster(
        antworten, fenster::Programmumgebung{programmOrdner, (arbeitsordner / "daten" / "TVX_Dadazuror").string()});
    hauptfenster.show();
    for (const char* feld : {"AnzExport", "AnzVDb", "AnzWkAk"})
        emit hauptfenster.findChild<fenster::Anzeigefeld*>(QString::fromUtf8(feld))->geklickt();
    auto* start = hauptfenster.findChild<QPushButton*>(QStringLiteral("CmdStart"));
    if (!start->isEnabled()) {
        std::cerr << "Fehler: Der Lauf kann nicht beginnen.\n";
        for (const std::string& text : antworten.fehler)
            std::cerr << text << "\n";
        return 1;
    }

    const double cpu = prozessorzeit();
    const auto beginn = std::chrono::steady_clock::now();
    start->click();
    const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    std::printf("Lauf: %.3f s\nProzessorzeit: %.3f s\n", sekunden, prozessorzeit() - cpu);
    for (const std::string& text : antworten.fehler)
        std::cerr << "Fehler: " << text << "\n";
    return antworten.fehler.empty() ? 0 : 1;
}
