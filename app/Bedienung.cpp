// The window for the keyboard and for a screen reader: the name a screen reader reads for each
// control, taken from the caption beside it, and the order of the Tab key. The found-file boxes
// only show what was found and the counters only count, so neither takes the focus: after the
// three choices Start is two Tab presses away, or Alt+S.

#include "app/Anzeigefeld.h"
#include "app/MainVdbVidazer.h"

#include <QCheckBox>
#include <QPushButton>

#include <iterator>
#include <utility>

namespace fenster {

void MainVdbVidazer::bedienungEinrichten()
{
    const std::pair<QWidget*, const char*> namen[] = {
        {m_anzVDb, "Zu erstellende Zervik-Vereinsdatenbank"},
        {m_anzExport, "Ordner des TVX-Zervik - Exportes"},
        {m_anzWkAk, "Startberechtigungen abgleichen mit"},
        {m_chkExKreis, "Gefundene Exportdatei: Kreise"},
        {m_chkExVereine, "Gefundene Exportdatei: Vereine"},
        {m_chkExMitglieder, "Gefundene Exportdatei: Mitglieder"},
        {m_chkExStartrechte, "Gefundene Exportdatei: Startberechtigungen"},
        {m_anzKreise, "Eingelesene Kreise"},
        {m_anzVereine, "Eingelesene Vereine"},
        {m_anzMitglieder, "Eingelesene Mitglieder"},
        {m_anzStartberechtigungen, "Eingelesene Startberechtigungen"},
        {m_anzVDbKreise, "Datenbankinhalt: Kreise"},
        {m_anzVDbVereine, "Datenbankinhalt: Vereine"},
        {m_anzVdbSchuetzen, "Datenbankinhalt: Schützen"},
        {m_anzVdbHochmeldung, "Datenbankinhalt: Hochmeldungen"},
        {m_anzVDbGesMitglieder, "Datenbankinhalt: Mitgliedschaften ges."},
        {m_anzVDbZweitmitgliedschaften, "Datenbankinhalt: Zweit-(Mehrfach-) Mitgliedschaften"},
        {m_anzVDbStartrechte, "Datenbankinhalt: Startberechtigungen"},
    };
    for (const auto& [steuerelement, name] : namen)
        steuerelement->setAccessibleName(QString::fromUtf8(name));

    for (QCheckBox* fund : {m_chkExKreis, m_chkExVereine, m_chkExMitglieder, m_chkExStartrechte})
        fund->setFocusPolicy(Qt::NoFocus);
    QWidget* const tabfolge[] = {m_anzVDb, m_anzExport, m_anzWkAk, m_chkLog, m_cmdStart, m_cmdAbbruch, m_cmdEnde};
    for (std::size_t i = 1; i < std::size(tabfolge); ++i)
        setTabOrder(tabfolge[i - 1], tabfolge[i]);
}

// A found-file box names the file it stands for, in its tooltip and to a screen reader: a folder
// may hold several files of a kind, and only the one named is converted.
void MainVdbVidazer::fundeBeschreiben()
{
    const std::pair<QCheckBox*, const importer::Exportdatei*> funde[] = {{m_chkExKreis, &m_dateien.kreise},
                                                                         {m_chkExVereine, &m_dateien.vereine},
                                                                         {m_chkExMitglieder, &m_dateien.mitglieder},
                                                                         {m_chkExStartrechte, &m_dateien.startrechte}};
    for (const auto& [kaestchen, datei] : funde) {
        kaestchen->setToolTip(QString::fromStdString(datei->name));
        kaestchen->setAccessibleDescription(QString::fromStdString(datei->name));
    }
}

} // namespace fenster
