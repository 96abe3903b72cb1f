#include "definitions/Anlegen.h"
#include "definitions/Dateiaufbau.h"
#include "definitions/Meldungen.h"
#include "definitions/WkAk.h"
#include "definitions/Zwischensumme.h"

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/RecordWriter.h"
#include "clubdb/Statement.h"
#include "text/Utf8.h"

#include <cassert>
#include <filesystem>
#include <vector>

namespace definitions {
namespace {

namespace fs = std::filesystem;

// A text of a loaded entry that no column of the current layout can hold.
struct TextZuLang
{
    std::string art;     // "Disziplin", "Altersklasse"
    std::string eintrag; // the entry's name
    std::string spalte;
    std::string wert;
    int groesse;
};

// The values of one record, in the order of the table's columns.
class Satz
{
public:
    Satz(const clubdb::TableDefinition& tabelle, std::string art, std::string eintrag)
        : m_tabelle(&tabelle), m_art(std::move(art)), m_eintrag(std::move(eintrag))
    {
    }

    void zahl(std::int64_t wert) { m_werte.emplace_back(wert); }
    void wahrheit(bool wert) { m_werte.emplace_back(wert); }
    void gleitkomma(float wert) { m_werte.emplace_back(static_cast<double>(wert)); }

    // Every text is stored trimmed and followed by one blank, so that no column of the file
    // ever holds an empty text; readers trim it away. A text that fills its column needs no
    // blank, and one that is longer cannot be stored without losing part of it.
    void textfeld(std::string_view wert)
    {
        const clubdb::FieldDefinition& feld = m_tabelle->fields.at(m_werte.size());
        assert(feld.type == clubdb::FieldType::Text);
        std::string gespeichert = text::trim(wert);
        const std::size_t laenge = text::length(gespeichert);
        const auto groesse = static_cast<std::size_t>(feld.size);
        if (laenge > groesse)
            throw TextZuLang{m_art, m_eintrag, feld.name, gespeichert, feld.size};
        if (laenge < groesse)
            gespeichert += ' ';
        m_werte.emplace_back(std::move(gespeichert));
    }

    const std::vector<clubdb::Value>& werte() const { return m_werte; }

private:
    const clubdb::TableDefinition* m_tabelle;
    std::string m_art;
    std::string m_eintrag;
    std::vector<clubdb::Value> m_werte;
};

struct Saetze
{
    std::vector<Satz> disziplinen;
    std::vector<Satz> klassen;
};

Satz disziplinSatz(const Disziplin& d)
{
    Satz satz(disziplinenTabelle(), "Disziplin", d.Name);
    satz.textfeld(d.Name);
    satz.zahl(d.SerienAnzahl);
    satz.zahl(d.SchussProSerie);
    satz.zahl(d.WertungsOption);
    satz.wahrheit(d.Finale);
    satz.zahl(d.FinalTeilnehmer);
    satz.zahl(d.FinalSchuesse);
    satz.zahl(d.ZwSuNachSer);
    for (const std::string& bez : d.BezSer)
        satz.textfeld(bez);
    for (const std::string& bez : d.BezZwSu)
        satz.textfeld(bez);
    satz.textfeld(d.SpoNr);
    satz.zahl(d.ScheibeNr1);
    satz.zahl(d.ScheibeNr2);
    satz.gleitkomma(d.Kaliber);
    return satz; // Zehntel stays without value
}

Satz klasseSatz(const Altersklasse& k)
{
    Satz satz(altersklassenTabelle(), "Altersklasse", k.Name);
    satz.textfeld(k.Name);
    satz.textfeld(k.KlassenNr);
    satz.zahl(k.KlasseVon);
    satz.zahl(k.KlasseBis);
    satz.wahrheit(k.KlasseWeibl);
    satz.zahl(k.KlassenRang);
    return satz;
}

// The records of every loaded entry that has a name; an entry without one is no discipline
// or class the competition program could offer. Throws TextZuLang.
Saetze saetzeBilden(Definitionen& d)
{
    Saetze saetze;
    for (std::int16_t i = 0; i < d.disziplinen.anzahl; ++i) {
        Disziplin& disziplin = d.disziplinen.eintraege[static_cast<std::size_t>(i)];
        if (text::isBlank(disziplin.Name))
            continue;
        ZwischensummeBereinigen(disziplin);
        saetze.disziplinen.push_back(disziplinSatz(disziplin));
    }
    for (std::int16_t i = 0; i < d.klassen.anzahl; ++i) {
        const Altersklasse& klasse = d.klassen.eintraege[static_cast<std::size_t>(i)];
        if (!text::isBlank(klasse.Name))
            saetze.klassen.push_back(klasseSatz(klasse));
    }
    return saetze;
}

void einfuegen(clubdb::Connection& datei, const clubdb::TableDefinition& tabelle, const std::vector<Satz>& saetze)
{
    if (saetze.empty())
        return;
    const std::size_t anzahlWerte = saetze.front().werte().size();
    std::string spalten;
    std::string platzhalter;
    for (std::size_t i = 0; i < anzahlWerte; ++i) {
        spalten += (i ? ", " : "") + clubdb::quoteName(tabelle.fields[i].name);
        platzhalter += i ? ", ?" : "?";
    }
    clubdb::Statement einfuegen(datei, "INSERT INTO " + clubdb::quoteName(tabelle.name) + " (" + spalten +
                                           ") VALUES (" + platzhalter + ")");
    for (const Satz& satz : saetze) {
        einfuegen.reset();
        int position = 1;
        for (const clubdb::Value& wert : satz.werte())
            einfuegen.bind(position++, wert);
        einfuegen.execute();
    }
}

// All records or none: a rewrite that stops half-way must not leave a file that looks
// complete to the competition program.
void schreiben(const std::string& pfad, const Saetze& saetze)
{
    clubdb::Connection datei = clubdb::Connection::open(pfad, clubdb::OpenMode::ReadWrite);
    {
        clubdb::Transaction transaktion(datei);
        einfuegen(datei, disziplinenTabelle(), saetze.disziplinen);
        einfuegen(datei, altersklassenTabelle(), saetze.klassen);
        transaktion.commit();
    }
    datei.close();
}

bool istAlt(std::string_view endung)
{
    return text::toUpper(endung) == "ALT";
}

void unveraendertMelden(const Umgebung& umgebung, const std::string& pfad, const std::string& grund)
{
    umgebung.fragen.inform(meldung::kFehler, "Die Datei " + pfad +
                                                 " kann nicht in das aktuelle Format umgestellt werden, " + grund +
                                                 meldung::kZeilenende + "Die Datei bleibt unverändert.");
}

// Puts the old file back under its own name after the new one could not be made, so that
// the user keeps working with it and the next load tries the rewrite again.
void zurueckbenennen(const Umgebung& umgebung, const std::string& pfad, const std::string& sicherung)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(pfad, ec)))
        fs::rename(sicherung, pfad, ec);
    else
        ec = std::make_error_code(std::errc::file_exists);
    if (ec)
        umgebung.fragen.inform(meldung::kFehler, "Die Datei " + pfad + " konnte nicht umgestellt werden." +
                                                     meldung::kZeilenende + "Die bisherige Datei liegt unter " +
                                                     sicherung + ".");
}

} // namespace

Ausgang WkAkUmstellen(Definitionen& d, const std::string& definitionsPfad, const Umgebung& umgebung)
{
    // The old file is kept beside the new one under the same name with the extension "alt".
    const std::string dateiname = fs::path(definitionsPfad).filename().string();
    const auto punkt = dateiname.rfind('.');
    if (punkt == std::string::npos) {
        unveraendertMelden(umgebung, definitionsPfad,
                           "weil ihr Name keine Endung hat und so keine Sicherungskopie (Endung .alt) angelegt "
                           "werden kann.");
        return Ausgang::Weiter;
    }
    const std::string endung = dateiname.substr(punkt + 1);
    if (istAlt(endung)) {
        unveraendertMelden(umgebung, definitionsPfad,
                           "weil ihre Sicherungskopie (Endung .alt) denselben Namen hätte wie die Datei selbst.");
        return Ausgang::Weiter;
    }
    const std::string sicherung = definitionsPfad.substr(0, definitionsPfad.size() - endung.size()) + "alt";

    Saetze saetze;
    try {
        saetze = saetzeBilden(d);
    } catch (const TextZuLang& zuLang) {
        unveraendertMelden(umgebung, definitionsPfad,
                           "weil der Text \"" + zuLang.wert + "\" im Feld " + zuLang.spalte + " der " + zuLang.art +
                               " \"" + text::trim(zuLang.eintrag) + "\" länger als " + std::to_string(zuLang.groesse) +
                               " Zeichen ist.");
        return Ausgang::Weiter;
    }

    // Up to the rename nothing of the user's file has changed; a failure ends the rewrite
    // quietly and the next load tries again.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(sicherung, ec))) {
        if (fs::is_directory(sicherung, ec) || !fs::remove(sicherung, ec))
            return Ausgang::Weiter;
    }
    fs::rename(definitionsPfad, sicherung, ec);
    if (ec)
        return Ausgang::Weiter;

    // The new file is made at the path that was read, whatever its extension, so that the
    // records only ever go into the file created here.
    switch (DateiAnlegen(definitionsPfad, umgebung)) {
    case Anlegeergebnis::Angelegt:
        break;
    case Anlegeergebnis::Fehlgeschlagen:
        zurueckbenennen(umgebung, definitionsPfad, sicherung);
        return Ausgang::Weiter;
    case Anlegeergebnis::Gesperrt:
        zurueckbenennen(umgebung, definitionsPfad, sicherung);
        return Ausgang::ProgrammBeenden;
    }

    try {
        schreiben(definitionsPfad, saetze);
    } catch (const clubdb::DbError&) {
        fs::remove(definitionsPfad, ec);
        zurueckbenennen(umgebung, definitionsPfad, sicherung);
    }
    return Ausgang::Weiter;
}

} // namespace definitions
