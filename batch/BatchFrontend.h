#pragma once

// The batch program's side of a conversion run: progress on standard error, every question
// answered No (a script cannot answer), and Ctrl-C turned into Abbruch.

#include "run/Lauffrontend.h"
#include "run/Umsetzungslauf.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>

namespace batch {

class BatchFrontend : public run::Lauffrontend, public questions::Questions
{
public:
    BatchFrontend(std::ostream& err, bool terminal, const std::atomic<bool>* interrupted);

    // The run whose Abbruch Ctrl-C presses.
    void attach(run::Umsetzungslauf& lauf) { m_lauf = &lauf; }

    // Finishes the progress line of the last step.
    void finishProgress();

    const clubdb::VdbInhalt& lastContent() const { return m_content; }

    // True when the run told of an error (an export file that could not be read, data that
    // could not be stored): the conversion is then incomplete, whatever the counts say.
    bool errorDuringRun() const { return m_errorDuringRun; }

    // questions::Questions
    questions::Answer ask(const std::string& title, const std::string& text, questions::Buttons buttons) override;
    std::optional<std::string> chooseFile(const questions::FileChoice& choice) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override;

    // run::Lauffrontend
    questions::Questions& fragen() override { return *this; }
    void inhalt(const clubdb::VdbInhalt& inhalt) override { m_content = inhalt; }
    void laufzustand(bool laeuft) override { m_running = laeuft; }
    void logAnzeigen(const std::string&) override {}
    void unvollstaendig(const importer::Vollstaendigkeit&) override {} // told after the counts
    void fortschritt(importer::Anzeige anzeige, const std::string& text) override;
    void ereignisseVerarbeiten() override;

private:
    std::ostream& m_err;
    bool m_terminal;
    const std::atomic<bool>* m_interrupted;
    run::Umsetzungslauf* m_lauf = nullptr;
    clubdb::VdbInhalt m_content;
    std::optional<importer::Anzeige> m_step;
    std::string m_lastText;
    std::chrono::steady_clock::time_point m_lastShown;
    bool m_running = false;
    bool m_errorDuringRun = false;
};

} // namespace batch
