// Start, Abbruch and Ende, and the window as the front end of the conversion run.
//
// The run works on the window's own thread. It lets the window process its events between two
// input lines, every 50 ms, and that is how a click on Abbruch reaches it; while it works, Start
// and Ende are off, the path fields ignore clicks (the club database must not be replaced under a
// running step) and closing the window is refused.

#include "app/Anzeigefeld.h"
#include "app/Logfenster.h"
#include "app/MainVdbVidazer.h"
#include "import/Exportpruefung.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace fenster {
namespace {

// Leaving at once when the definitions file is locked: the exit code tells a calling script
// that the program did not end normally.
constexpr int kSofortEnde = 3;

// How often the progress labels follow the run.
constexpr qint64 kFortschrittAbstandMs = 50;

QString qt(const std::string& s)
{
    return QString::fromStdString(s);
}

// A file re-saved by a spreadsheet program is refused; of several exports of one kind in the
// folder the user confirms the one that is converted. False: the run does not start.
bool exportAnnehmen(questions::Questions& fragen, const std::string& ordner, const importer::Exportdateien& dateien)
{
    if (const std::optional<std::string> tabelle = importer::TabellenMeldung(ordner, dateien)) {
        fragen.inform("Fehler", *tabelle);
        return false;
    }
    const std::optional<std::string> mehrere = importer::MehrereDateien(dateien, "\r\n");
    return !mehrere || fragen.ask("Exportdateien", *mehrere + "\r\nTrotzdem umsetzen?", questions::Buttons::YesNo) ==
                           questions::Answer::Yes;
}

} // namespace

void MainVdbVidazer::CmdStart_Click()
{
    if (laufAktiv() || !exportAnnehmen(m_fragen, m_exportOrdner, m_dateien))
        return;
    m_imStart = true;
    const run::Laufeingaben eingaben{
        m_exportOrdner, m_dateien, m_vdbPfad, m_vdbOrdner, m_umgebung.programmOrdner, m_umgebung.anwendungsdatenOrdner};
    std::string definitionsPfad = m_definitionsPfad;
    const run::Laufende ende = m_lauf.start(eingaben, definitionsPfad);
    m_imStart = false;
    if (ende == run::Laufende::ProgrammBeenden) {
        sofortBeenden();
        return;
    }
    // A refused run changes nothing in the window. After a run the field shows the definitions
    // file it used: without a chosen file, the program's default file.
    if (ende != run::Laufende::Beendet)
        return;
    m_definitionsPfad = definitionsPfad;
    m_anzWkAk->setText(qt(m_definitionsPfad));
}

void MainVdbVidazer::CmdAbbruch_Click()
{
    m_lauf.abbrechen();
}

void MainVdbVidazer::CmdEnde_Click()
{
    if (m_cmdEnde->isEnabled())
        close();
}

// The definitions file is locked: the user has been told, and the program ends without its
// normal shut-down, which would remember that file for the next start.
void MainVdbVidazer::sofortBeenden()
{
    m_beendet = true;
    hide();
    QCoreApplication::exit(kSofortEnde);
}

void MainVdbVidazer::laufzustand(bool laeuft)
{
    fortschrittZeigen();
    if (laeuft)
        m_cmdStart->setEnabled(false);
    m_cmdAbbruch->setEnabled(laeuft);
    m_cmdEnde->setEnabled(!laeuft);
    m_chkLog->setEnabled(!laeuft);
    for (Anzeigefeld* pfad : {m_anzVDb, m_anzExport, m_anzWkAk})
        pfad->setEnabled(!laeuft);
}

void MainVdbVidazer::fortschritt(importer::Anzeige anzeige, const std::string& text)
{
    m_fortschritt[static_cast<std::size_t>(anzeige)] = text;
    if (!m_fortschrittUhr.isValid() || m_fortschrittUhr.elapsed() >= kFortschrittAbstandMs)
        fortschrittZeigen();
}

void MainVdbVidazer::fortschrittZeigen()
{
    Anzeigefeld* const felder[] = {m_anzVereine, m_anzMitglieder, m_anzStartberechtigungen};
    for (std::size_t i = 0; i < m_fortschritt.size(); ++i) {
        if (m_fortschritt[i])
            felder[i]->setText(qt(*m_fortschritt[i]));
        m_fortschritt[i].reset();
    }
    m_fortschrittUhr.start();
}

void MainVdbVidazer::ereignisseVerarbeiten()
{
    QCoreApplication::processEvents();
}

void MainVdbVidazer::inhalt(const clubdb::VdbInhalt& inhalt)
{
    fortschrittZeigen(); // the step has ended: its last count is due
    m_anzVDbVereine->setText(qt(clubdb::Anzeigetext(inhalt.vereine)));
    m_anzVdbSchuetzen->setText(qt(clubdb::Anzeigetext(inhalt.schuetzen)));
    m_anzVDbGesMitglieder->setText(qt(clubdb::Anzeigetext(inhalt.gesMitglieder)));
    m_anzVdbHochmeldung->setText(qt(clubdb::Anzeigetext(inhalt.hochmeldungen)));
    m_anzVDbZweitmitgliedschaften->setText(qt(clubdb::Anzeigetext(inhalt.zweitmitgliedschaften)));
    m_anzVDbStartrechte->setText(qt(clubdb::Anzeigetext(inhalt.startrechte)));
}

// The club database lacks lines a file or the database failed to take, or could not be finished:
// the counters may look like a whole conversion, so the user is told before the log is offered.
void MainVdbVidazer::unvollstaendig(const importer::Vollstaendigkeit& stand)
{
    std::string text;
    for (const std::string& zeile : stand.meldungen(false))
        text += (text.empty() ? "" : "\r\n") + zeile;
    if (!text.empty())
        m_fragen.inform("Fehler", text);
}

// The program's own log window, beside the main window, which stays usable.
void MainVdbVidazer::logAnzeigen(const std::string& pfad)
{
    if (!m_logfenster)
        m_logfenster = new Logfenster(
            m_fragen, [this](const std::string& log) { return m_logbetrachter(log); }, this);
    m_logfenster->logZeigen(pfad);
}

} // namespace fenster
