#include "import/Zeilenlauf.h"

#include <system_error>

namespace importer {

Zeilenlauf::Zeilenlauf(const Schrittkontext& kontext, Anzeige anzeige) : m_kontext(kontext), m_anzeige(anzeige) {}

bool Zeilenlauf::oeffnen(const std::string& dateiname)
{
    m_pfad = m_kontext.exportOrdner + dateiname;
    try {
        m_leser = std::make_unique<text::LineReader>(m_pfad);
        return true;
    } catch (const std::system_error&) {
        m_kontext.fragen.inform("Fehler", "Datei " + m_pfad + " nicht gefunden!");
        return false;
    }
}

bool Zeilenlauf::naechsteZeile(std::string& zeile)
{
    if (!m_leser || m_kontext.abbruch)
        return false;
    try {
        if (!m_leser->readLine(zeile))
            return false;
    } catch (const std::system_error& e) {
        // A file that vanishes or a stick pulled out half-way: what was read stays converted.
        m_kontext.fragen.inform("Fehler", "Die Datei " + m_pfad + " konnte nicht vollständig gelesen werden." +
                                              "\r\n" + e.code().message());
        m_leser.reset();
        return false;
    }
    ++m_gelesen;
    return true;
}

void Zeilenlauf::zeileFertig(bool problem, const std::string& problemtext, std::int32_t gespeichert)
{
    if (problem) {
        ++m_problemzeilen;
        m_kontext.protokoll(problemtext);
    }
    m_kontext.anzeige.fortschritt(m_anzeige, Fortschrittstext(m_gelesen, gespeichert));
    ereignisseVerarbeiten();
}

void Zeilenlauf::ereignisseVerarbeiten()
{
    const auto jetzt = std::chrono::steady_clock::now();
    if (m_ereignisseZuletzt && jetzt - *m_ereignisseZuletzt < m_kontext.ereignisabstand)
        return;
    m_ereignisseZuletzt = jetzt;
    m_kontext.anzeige.ereignisseVerarbeiten();
}

void Zeilenlauf::zeilenVerworfen(std::int32_t ersteZeile, std::int32_t problemzeilenVorher, std::int32_t gespeichert,
                                 const std::string& grund)
{
    if (ersteZeile > m_gelesen)
        return; // the batch held no line
    const std::string zeilen = ersteZeile == m_gelesen
                                   ? "Zeile " + std::to_string(m_gelesen)
                                   : "Zeilen " + std::to_string(ersteZeile) + " bis " + std::to_string(m_gelesen);
    m_kontext.protokoll(zeilen +
                        " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!\r\n\t- Datenbankfehler: " + grund +
                        "\r\n");
    m_problemzeilen = problemzeilenVorher + (m_gelesen - ersteZeile + 1);
    m_kontext.anzeige.fortschritt(m_anzeige, Fortschrittstext(m_gelesen, gespeichert));
}

} // namespace importer
