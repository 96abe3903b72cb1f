// The readiness check: which parts of the window are shown and whether Start is possible.
//
// A run needs at least the clubs file and the members file and a club database created since the
// program started; the start-rights file is optional, and the districts file is shown but never
// converted. The start rights can only be matched against the competition definitions, so a
// start-rights file without a definitions file is pointed out, though it does not stop Start.

#include "app/Anzeigefeld.h"
#include "app/MainVdbVidazer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include <filesystem>

namespace fenster {

void MainVdbVidazer::bereitschaftPruefen()
{
    m_fundRahmen->hide();
    m_einRahmen->hide();
    m_vdbInhaltRahmen->hide();
    m_chkLog->hide();
    m_cmdStart->setEnabled(false);
    if (m_exportOrdner.empty() || !m_vdbErstellt)
        return;

    for (QCheckBox* fund : {m_chkExKreis, m_chkExVereine, m_chkExMitglieder, m_chkExStartrechte})
        fund->setEnabled(false);
    fundeZeigen();
    m_chkExVereine->setEnabled(m_dateien.vereine.gefunden);
    m_chkExMitglieder->setEnabled(m_dateien.mitglieder.gefunden);
    if (m_dateien.startrechte.gefunden) {
        std::error_code ec;
        if (m_definitionsPfad.empty())
            m_fragen.inform("TVX_Dadazuror",
                            "Für das Einlesen der Startrechte wird die Datei mit den voreingestellten Disziplinen "
                            "benötigt!");
        else if (std::filesystem::is_regular_file(m_definitionsPfad, ec))
            m_chkExStartrechte->setEnabled(true);
        else
            m_fragen.inform("TVX_Dadazuror", "Die Datei mit den voreingestellten Disziplinen wurde nicht gefunden!");
    }

    if (!m_dateien.vereine.gefunden || !m_dateien.mitglieder.gefunden) {
        m_fragen.inform("Fehler", "Eine oder beide Exportdateien wurden nicht gefunden.\r\n"
                                  "Für die Erstellung der Datenbank werden mindestens die Vereins- und "
                                  "Mitgliederdaten benötigt!");
        return;
    }

    m_fundRahmen->show();
    m_einRahmen->show();
    m_vdbInhaltRahmen->show();
    for (Anzeigefeld* fortschritt : {m_anzKreise, m_anzVereine, m_anzMitglieder, m_anzStartberechtigungen})
        fortschritt->clear();
    // All six counts start again from zero: whatever they showed belonged to the club
    // database or the export of an earlier choice.
    for (Anzeigefeld* zahl : {m_anzVDbKreise, m_anzVDbVereine, m_anzVdbSchuetzen, m_anzVdbHochmeldung,
                              m_anzVDbGesMitglieder, m_anzVDbZweitmitgliedschaften, m_anzVDbStartrechte})
        zahl->setText(QStringLiteral("0"));
    m_chkLog->setChecked(m_lauf.logEin);
    m_chkLog->setEnabled(true);
    m_chkLog->show();
    m_cmdStart->setEnabled(true);
}

// The found-file boxes always show whether their file was found; the handler of a click puts
// the tick back.
void MainVdbVidazer::fundeZeigen()
{
    m_chkExKreis->setChecked(m_dateien.kreise.gefunden);
    m_chkExVereine->setChecked(m_dateien.vereine.gefunden);
    m_chkExMitglieder->setChecked(m_dateien.mitglieder.gefunden);
    m_chkExStartrechte->setChecked(m_dateien.startrechte.gefunden);
    fundeBeschreiben();
}

void MainVdbVidazer::ChkLog_Click(bool angehakt)
{
    if (m_chkLog->isEnabled())
        m_lauf.logEin = angehakt;
}

} // namespace fenster
