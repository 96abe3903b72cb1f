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
        nichtGespeichert(m_nichtGespeichert + 1);
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
        nichtGespeichert(m_nichtGespeichert + 1);
        return false;
    }
    ++m_gelesen;
    return true;
}

void Zeilenlauf::speicherfehler(const clubdb::DbError& fehler)
{
    if (!m_ersterSpeicherfehler)
        m_ersterSpeicherfehler = fehler;
    if (m_speicherfehlerZeile == m_gelesen)
        return;
    m_speicherfehlerZeile = m_gelesen;
    nichtGespeichert(m_nichtGespeichert + 1);
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

void Zeilenlauf::zeilenVerworfen(const Stand& seit, std::int32_t gespeichert, const clubdb::DbError& fehler)
{
    if (seit.naechsteZeile > m_gelesen) {
        m_kontext.vollstaendigkeit.datenbankNichtFertig(fehler);
        return;
    }
    const std::string zeilen = seit.naechsteZeile == m_gelesen ? "Zeile " + std::to_string(m_gelesen)
                                                               : "Zeilen " + std::to_string(seit.naechsteZeile) +
                                                                     " bis " + std::to_string(m_gelesen);
    m_kontext.protokoll(zeilen +
                        " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!\r\n\t- Datenbankfehler: " +
                        fehler.description() + "\r\n");
    const std::int32_t verworfen = m_gelesen - seit.naechsteZeile + 1;
    m_problemzeilen = seit.problemzeilen + verworfen;
    nichtGespeichert(seit.nichtGespeichert + verworfen);
    m_speicherfehlerZeile = m_gelesen;
    m_kontext.anzeige.fortschritt(m_anzeige, Fortschrittstext(m_gelesen, gespeichert));
}

// Sets the step's count of lines not stored and hands what it grew by to the run.
void Zeilenlauf::nichtGespeichert(std::int32_t anzahl)
{
    m_kontext.vollstaendigkeit.zeilenNichtGespeichert(anzahl - m_nichtGespeichert);
    m_nichtGespeichert = anzahl;
}

} // namespace importer
