// The three path fields: the export folder, the club database to create and the competition
// definitions file. Every choice ends in the readiness check.

#include "app/Anzeigefeld.h"
#include "app/MainVdbVidazer.h"
#include "app/Startordner.h"

#include "clubdb/DatenbankErstellen.h"
#include "clubdb/DbError.h"
#include "import/Feldhelfer.h"

#include <QDir>

#include <filesystem>

namespace fenster {
namespace {

QString qt(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string heimordner()
{
    return QDir::homePath().toStdString();
}

bool ordnerVorhanden(const std::string& ordner)
{
    std::error_code ec;
    return std::filesystem::is_directory(ordner, ec);
}

bool irgendetwasVorhanden(const std::string& pfad)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(pfad, ec));
}

} // namespace

void MainVdbVidazer::AnzExport_Click()
{
    if (laufAktiv())
        return;
    m_dateien = {};
    m_anzExport->clear();

    // The previous export folder may have been deleted with the files in it.
    const std::string start = Startordner({m_exportOrdner}, heimordner());
    bool abgebrochen = false;
    if (m_ordnerauswahl) {
        const std::optional<std::string> ordner = m_fragen.chooseFolder("Wählen Sie den Exportordner aus:", start);
        if (!ordner || ordner->empty()) {
            m_exportOrdner.clear();
            abgebrochen = true;
        } else {
            m_exportOrdner = ordner->back() == '/' ? *ordner : *ordner + "/";
        }
    } else {
        // Any name typed into the wanted folder will do: only the folder counts.
        const std::optional<std::string> datei =
            m_fragen.chooseFile({"Exportordner einstellen", "TVX-Export|*.csv", start, "", true});
        const std::string ordner = datei ? importer::OrdnerVonPfad(*datei) : std::string();
        if (ordner.find_first_not_of(' ') == std::string::npos)
            abgebrochen = true;
        else
            m_exportOrdner = ordner;
    }

    if (!abgebrochen) {
        m_anzExport->setText(qt(m_exportOrdner));
        m_dateien = importer::ExportdateienSuchen(m_exportOrdner);
        if (m_dateien.keine())
            m_fragen.inform("Hinweis", "In diesem Ordner wurden keine Exportdaten gefunden!");
    }
    bereitschaftPruefen();
}

void MainVdbVidazer::vdbAuswahlLeeren()
{
    m_anzVDb->clear();
    m_vdbPfad.clear();
    m_vdbOrdner.clear();
    m_vdbErstellt = false;
    bereitschaftPruefen();
}

// The club database is created at once: an existing file of that name is replaced after the
// user agreed, so that a run always starts from an empty database and never mixes two exports.
void MainVdbVidazer::AnzVDb_Click()
{
    if (laufAktiv())
        return;
    // On a new machine the default folder of the club databases is created here, so that the
    // dialog can open in it.
    const std::string standardordner = heimordner() + "/schiess/Datenbanken";
    if (!ordnerVorhanden(m_vdbOrdner)) {
        std::error_code ec;
        std::filesystem::create_directories(standardordner, ec);
    }
    const std::string start = Startordner({m_vdbOrdner, standardordner}, heimordner());
    const std::optional<std::string> datei =
        m_fragen.chooseFile({"Vereinsdatenbank anlegen", "Vereinsdatenbank|*.vdb", start, "", true});
    if (!datei || datei->empty()) {
        vdbAuswahlLeeren();
        return;
    }
    const std::string& pfad = *datei;

    if (pfad == m_vergleichsdatenbank) {
        m_fragen.inform("Hinweis", "Die zu erstellende Vereinsdatenbank kann nicht die gleiche, wie die zu erstellende "
                                   "Datenbank sein!\r\n"
                                   "Bitte Wählen Sie eine andere Datenbank für den Abgleich, oder geben Sie der zu "
                                   "erstellenden Datei einen anderen Namen!");
        vdbAuswahlLeeren();
        return;
    }
    if (irgendetwasVorhanden(pfad) &&
        m_fragen.ask("Löschen bestätigen", "Soll die vorhandene Datei\r\n" + pfad + "\r\ngelöscht werden?",
                     questions::Buttons::YesNo) != questions::Answer::Yes) {
        vdbAuswahlLeeren();
        return;
    }

    // Deleting the old file is part of the creation, which reports a file that cannot be
    // deleted with the same number and description as one that cannot be created.
    try {
        clubdb::DatenbankErstellen(pfad);
    } catch (const clubdb::DbError& fehler) {
        m_fragen.inform("Fehler", "Die Vereinsdatenbank\r\n" + pfad + "\r\nkonnte nicht angelegt werden.\r\n\r\n" +
                                      "Fehler " + std::to_string(fehler.number()) + ": " + fehler.description());
        vdbAuswahlLeeren();
        return;
    }
    m_vdbPfad = pfad;
    m_vdbOrdner = importer::OrdnerVonPfad(pfad);
    m_anzVDb->setText(qt(pfad));
    m_vdbErstellt = true;
    bereitschaftPruefen();
}

void MainVdbVidazer::AnzWkAk_Click()
{
    if (laufAktiv())
        return;
    // Without an earlier choice the dialog opens beside the program's own definitions file. A
    // new name is accepted too: the first Start then offers to create the file.
    const std::string start =
        Startordner({importer::OrdnerVonPfad(m_definitionsPfad), m_umgebung.programmOrdner}, heimordner());
    const std::optional<std::string> datei = m_fragen.chooseFile(
        {"Wettkampfdefinitionen öffnen", "Wettkampfdefinitionen|*.zrv", start, "", false, true});
    m_definitionsPfad = datei.value_or("");
    m_anzWkAk->setText(qt(m_definitionsPfad));
    bereitschaftPruefen();
}

} // namespace fenster
