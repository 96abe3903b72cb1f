#include "run/Umsetzungslauf.h"

#include "import/MitgliederUmsetzen.h"
#include "import/StartberechtigungenUmsetzen.h"
#include "import/VereineUmsetzen.h"
#include "import/Vereinsverzeichnis.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace run {

Umsetzungslauf::Umsetzungslauf(Lauffrontend& frontend, Uhr uhr) : m_frontend(frontend), m_uhr(std::move(uhr)) {}

std::string Umsetzungslauf::Logname(const clubdb::Date& zeitpunkt)
{
    char name[32];
    std::snprintf(name, sizeof name, "Log_%04d%02d%02d_%02d%02d.log", zeitpunkt.year(), zeitpunkt.month(),
                  zeitpunkt.day(), zeitpunkt.hour(), zeitpunkt.minute());
    return name;
}

void Umsetzungslauf::inhaltZeigen(const std::string& vdbPfad)
{
    if (!vdbPfad.empty())
        m_frontend.inhalt(clubdb::VdbInhaltZaehlen(vdbPfad));
}

Laufende Umsetzungslauf::start(const Laufeingaben& eingaben, std::string& definitionsPfad)
{
    const Laufende vorbereitet = vorbereiten(eingaben, definitionsPfad);
    return vorbereitet == Laufende::Bereit ? ausfuehren(eingaben) : vorbereitet;
}

Laufende Umsetzungslauf::vorbereiten(const Laufeingaben& eingaben, std::string& definitionsPfad)
{
    m_log.reset();
    questions::Questions& fragen = m_frontend.fragen();
    const definitions::Umgebung umgebung{eingaben.programmOrdner, eingaben.anwendungsdatenOrdner, fragen};
    if (definitions::WkAkLaden(m_definitionen, definitionsPfad, umgebung) == definitions::Ausgang::ProgrammBeenden)
        return Laufende::ProgrammBeenden;
    if (m_definitionen.disziplinen.anzahl == 0 || m_definitionen.klassen.anzahl == 0) {
        fragen.inform("Fehler", "Die Datei mit den Voreinstellungen der Disziplinen und Klassen ist (teilweise) leer"
                                "\r\n"
                                "Diese Daten werden zum Einlesen der Hochmeldungen und Startberechtigungen benötigt!");
        return Laufende::DefinitionenLeer;
    }

    // The log is created before anything else changes, so that a log that cannot be created
    // leaves the window exactly as it was.
    if (logEin) {
        const std::string pfad = eingaben.vdbOrdner + Logname(m_uhr());
        try {
            m_log = std::make_unique<importer::Logdatei>(pfad, logOeffnen);
        } catch (const std::system_error&) {
            fragen.inform("Fehler", "Die Logdatei " + pfad + " konnte nicht angelegt werden!");
            return Laufende::LogNichtAngelegt;
        }
        m_logPfad = pfad;
    }
    return Laufende::Bereit;
}

void Umsetzungslauf::verwerfen()
{
    if (!m_log)
        return;
    m_log->schliessen();
    m_log.reset();
    std::error_code ec;
    std::filesystem::remove(m_logPfad, ec);
}

Laufende Umsetzungslauf::ausfuehren(const Laufeingaben& eingaben)
{
    questions::Questions& fragen = m_frontend.fragen();
    const std::unique_ptr<importer::Logdatei> log = std::move(m_log);
    m_leerlauf = false;
    m_abbruch = false;
    m_problemzahl = 0;
    m_vollstaendigkeit = {};
    m_frontend.laufzustand(true);
    if (log)
        log->schreiben("Starte Vidazerierung");

    importer::Vereinsverzeichnis vereine;
    const importer::Schrittkontext kontext{eingaben.exportOrdner, eingaben.vdbPfad, log.get(), m_abbruch, m_frontend,
                                           fragen, m_definitionen, m_uhr, vereine, m_vollstaendigkeit, suchverfahren,
                                           ereignisabstand};
    if (eingaben.dateien.vereine.gefunden) {
        m_problemzahl = importer::VereineUmsetzen(kontext, eingaben.dateien.vereine.name);
        inhaltZeigen(eingaben.vdbPfad);
    }
    if (eingaben.dateien.mitglieder.gefunden && !m_abbruch) {
        m_problemzahl += importer::MitgliederUmsetzen(kontext, eingaben.dateien.mitglieder.name);
        inhaltZeigen(eingaben.vdbPfad);
    }
    if (eingaben.dateien.startrechte.gefunden && !m_abbruch) {
        m_problemzahl += importer::StartberechtigungenUmsetzen(kontext, eingaben.dateien.startrechte.name);
        inhaltZeigen(eingaben.vdbPfad);
    }
    if (m_abbruch)
        m_vollstaendigkeit.abgebrochen();
    if (!m_vollstaendigkeit.vollstaendig())
        m_frontend.unvollstaendig(m_vollstaendigkeit);

    m_logFehlerfrei = true;
    if (log) {
        m_logFehlerfrei = log->schliessen();
        if (!m_logFehlerfrei)
            fragen.inform("Fehler", "Die Logdatei " + m_logPfad + " konnte nicht vollständig geschrieben werden!");
        if (m_problemzahl >= 1 &&
            fragen.ask("Logdatei",
                       "Bei der Umwandlung der Exportdateien wurden Probleme festgestellt."
                       "\r\n"
                       "Soll die Logdatei angezeigt werden?",
                       questions::Buttons::YesNo) == questions::Answer::Yes)
            m_frontend.logAnzeigen(m_logPfad);
    }

    m_leerlauf = true;
    m_frontend.laufzustand(false);
    return Laufende::Beendet;
}

} // namespace run
