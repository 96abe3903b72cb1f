#include "batch/BatchFrontend.h"

namespace batch {
namespace {

const char* labelOf(importer::Anzeige anzeige)
{
    switch (anzeige) {
    case importer::Anzeige::Vereine:
        return "Vereine";
    case importer::Anzeige::Mitglieder:
        return "Mitglieder";
    case importer::Anzeige::Startberechtigungen:
        return "Startberechtigungen";
    }
    return "";
}

// Message texts join their lines with CR LF; a terminal wants LF.
std::string withLineFeeds(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

// How often a terminal's progress line is redrawn; every line would slow a large export down.
constexpr auto kRedraw = std::chrono::milliseconds(100);

} // namespace

BatchFrontend::BatchFrontend(std::ostream& err, bool terminal, const std::atomic<bool>* interrupted)
    : m_err(err)
    , m_terminal(terminal)
    , m_interrupted(interrupted)
{
}

questions::Answer BatchFrontend::ask(const std::string& title, const std::string& text, questions::Buttons buttons)
{
    finishProgress();
    if (m_running && title == "Fehler")
        m_errorDuringRun = true;
    m_err << title << ": " << withLineFeeds(text) << "\n";
    switch (buttons) {
    case questions::Buttons::Ok:
        return questions::Answer::Ok;
    case questions::Buttons::OkCancel:
        m_err << "  -> Abbrechen\n";
        return questions::Answer::Cancel;
    case questions::Buttons::YesNo:
        m_err << "  -> Nein\n";
        return questions::Answer::No;
    }
    return questions::Answer::No;
}

std::optional<std::string> BatchFrontend::chooseFile(const questions::FileChoice&)
{
    return std::nullopt;
}

std::optional<std::string> BatchFrontend::chooseFolder(const std::string&, const std::string&)
{
    return std::nullopt;
}

void BatchFrontend::fortschritt(importer::Anzeige anzeige, const std::string& text)
{
    if (m_step != anzeige)
        finishProgress();
    m_step = anzeige;
    m_lastText = text;
    if (!m_terminal)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastShown >= kRedraw) {
        m_lastShown = now;
        m_err << "\r" << labelOf(anzeige) << ": " << text << std::flush;
    }
}

void BatchFrontend::finishProgress()
{
    if (!m_step)
        return;
    m_err << (m_terminal ? "\r" : "") << labelOf(*m_step) << ": " << m_lastText << "\n" << std::flush;
    m_step.reset();
}

void BatchFrontend::ereignisseVerarbeiten()
{
    if (m_lauf && m_interrupted && m_interrupted->load())
        m_lauf->abbrechen();
}

} // namespace batch
