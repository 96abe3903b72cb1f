#include "definitions/Ableitung.h"
#include "definitions/Dateiaufbau.h"
#include "definitions/Meldungen.h"
#include "definitions/WkAk.h"
#include "definitions/Zwischensumme.h"

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/SqlFunctions.h"
#include "clubdb/Statement.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <limits>

namespace definitions {
namespace {

using questions::Answer;
using questions::Buttons;

// A value that does not fit the field of its entry.
constexpr int kUeberlauf = 6;

// The counts of the tables are 16-bit numbers.
constexpr std::size_t kHoechstzahlDatensaetze = std::numeric_limits<std::int16_t>::max();

// Classes of this rank or higher are kept for the competition program's own use and never
// given to a person by age.
constexpr std::int16_t kRangOhneAltersliste = 101;

// The definitions files that the competition program ships, in the order in which a first
// start without a chosen file looks for them; the last one is also the name of the file
// offered to be created when none is found.
constexpr const char* kVorgabedateien[] = {"wkak-lsv-st.zrv", "wkakAllgem.zrv", "wkak.zrv"};

struct Dateiform
{
    bool aelteresFormat = false;      // no target numbers, calibre or age ranges stored
    bool numerischeKlassenNr = false; // class numbers in a 16-bit number column
};

// A path holding a NUL byte names, for the system, the file before the NUL: never the
// definitions file, and never to be replaced.
bool dateiVorhanden(const std::string& pfad)
{
    std::error_code ec;
    return pfad.find('\0') == std::string::npos && std::filesystem::is_regular_file(pfad, ec);
}

std::int64_t ganzzahl(const clubdb::Statement& zeile, int spalte, std::int64_t kleinster, std::int64_t groesster)
{
    const std::int64_t wert = zeile.integer(spalte);
    if (wert < kleinster || wert > groesster)
        throw clubdb::DbError(kUeberlauf, "Überlauf: Der Wert " + std::to_string(wert) + " im Feld " +
                                              zeile.columnName(spalte) + " ist zu groß oder zu klein.");
    return wert;
}

std::uint8_t byteWert(const clubdb::Statement& zeile, std::string_view name)
{
    return static_cast<std::uint8_t>(ganzzahl(zeile, zeile.columnIndex(name), 0, 255));
}

std::int16_t integerWert(const clubdb::Statement& zeile, int spalte)
{
    return static_cast<std::int16_t>(
        ganzzahl(zeile, spalte, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::int16_t integerWert(const clubdb::Statement& zeile, std::string_view name)
{
    return integerWert(zeile, zeile.columnIndex(name));
}

float singleWert(const clubdb::Statement& zeile, std::string_view name)
{
    const int spalte = zeile.columnIndex(name);
    const double wert = zeile.real(spalte);
    if (!std::isfinite(wert) || std::fabs(wert) > std::numeric_limits<float>::max())
        throw clubdb::DbError(kUeberlauf, "Überlauf: Der Wert im Feld " + zeile.columnName(spalte) +
                                              " ist zu groß für eine Gleitkommazahl.");
    return static_cast<float>(wert);
}

std::string getrimmt(const clubdb::Statement& zeile, int spalte)
{
    return text::trim(zeile.text(spalte));
}

std::string getrimmt(const clubdb::Statement& zeile, std::string_view name)
{
    return getrimmt(zeile, zeile.columnIndex(name));
}

// The file of the older layout is recognised by its first record: where the current layout
// has a 16-bit number, the older one has no column or no value. A value that is there but does
// not fit is a damaged file of the current layout: taken for the older one, it would be rewritten
// with every class open to every age.
bool integerLesbar(const clubdb::Statement& zeile, std::string_view name)
{
    try {
        integerWert(zeile, name);
        return true;
    } catch (const clubdb::DbError& e) {
        if (e.number() != clubdb::fehler::kElementNichtGefunden && e.number() != clubdb::fehler::kUnzulaessigesNull)
            throw;
        return false;
    }
}

// Appends the entry of the record with index i: the first record takes the place of the
// empty entry that a table holds while nothing is loaded.
template <typename Eintrag> void anhaengen(Tabelle<Eintrag>& tabelle, std::size_t i, Eintrag eintrag)
{
    if (i == 0)
        tabelle.eintraege[0] = std::move(eintrag);
    else
        tabelle.eintraege.push_back(std::move(eintrag));
}

void hoechstzahlPruefen(std::size_t gelesen)
{
    if (gelesen >= kHoechstzahlDatensaetze)
        throw clubdb::DbError(kUeberlauf, "Die Tabelle hat mehr als 32767 Datensätze.");
}

Disziplin disziplinLesen(const clubdb::Statement& zeile, bool aelteresFormat)
{
    Disziplin d;
    d.Name = getrimmt(zeile, "Name");
    d.SerienAnzahl = byteWert(zeile, "Serienanzahl");
    d.SchussProSerie = byteWert(zeile, "SchußProSerie");
    d.WertungsOption = byteWert(zeile, "WertungsOption");
    d.Finale = zeile.boolean(zeile.columnIndex("Finale"));
    d.FinalTeilnehmer = byteWert(zeile, "FinalTeilnehmer");
    d.FinalSchuesse = byteWert(zeile, "FinalSchüsse");
    d.ZwSuNachSer = byteWert(zeile, "ZwSuNachSer");
    ZwischensummeBereinigen(d);
    for (std::size_t k = 0; k < d.BezSer.size(); ++k)
        d.BezSer[k] = getrimmt(zeile, kErsteBezSerSpalte + static_cast<int>(k));
    for (std::size_t k = 0; k < d.BezZwSu.size(); ++k)
        d.BezZwSu[k] = getrimmt(zeile, kErsteBezZwSuSpalte + static_cast<int>(k));
    d.SpoNr = getrimmt(zeile, "SpoNr");
    if (aelteresFormat) {
        const auto schluessel = Ableitungsschluessel(d.SpoNr);
        if (!schluessel)
            throw clubdb::DbError(kUeberlauf, "Überlauf: Die SpO-Nr " + d.SpoNr + " ergibt keine gültige Zahl.");
        const Scheibenwerte werte = ScheibenwerteFuer(*schluessel);
        d.ScheibeNr1 = werte.ScheibeNr1;
        d.ScheibeNr2 = werte.ScheibeNr2;
        d.Kaliber = werte.Kaliber;
    } else {
        d.ScheibeNr1 = byteWert(zeile, "ScheibeNr1");
        d.ScheibeNr2 = byteWert(zeile, "ScheibeNr2");
        d.Kaliber = singleWert(zeile, "Kaliber");
    }
    return d;
}

void disziplinenLesen(clubdb::Connection& datei, Disziplintabelle& tabelle, Dateiform& form)
{
    clubdb::Statement zeile(datei, "SELECT * FROM Disziplinen");
    std::size_t gelesen = 0;
    while (zeile.step()) {
        if (gelesen == 0)
            form.aelteresFormat = !integerLesbar(zeile, "ScheibeNr1");
        hoechstzahlPruefen(gelesen);
        anhaengen(tabelle, gelesen, disziplinLesen(zeile, form.aelteresFormat));
        ++gelesen;
    }
    tabelle.anzahl = static_cast<std::int16_t>(gelesen);
}

std::string klassenNrLesen(const clubdb::Statement& zeile, int spalte, bool numerisch)
{
    // Class number 0 stands for the general class, which the competition program numbers 10.
    std::string nr = numerisch ? std::to_string(integerWert(zeile, spalte)) : getrimmt(zeile, spalte);
    if (nr == "0")
        nr = "10";
    return nr;
}

Altersklasse klasseLesen(const clubdb::Statement& zeile, std::size_t index, const Dateiform& form)
{
    Altersklasse k;
    k.Name = getrimmt(zeile, "Name");
    k.KlassenNr = klassenNrLesen(zeile, zeile.columnIndex("KlassenNr"), form.numerischeKlassenNr);
    if (form.aelteresFormat) {
        // The older layout had no age ranges: every class is open to every age, in the order
        // of the file.
        k.KlasseVon = 10;
        k.KlasseBis = 99;
        k.KlasseWeibl = false;
        k.KlassenRang = static_cast<std::int16_t>(index);
    } else {
        k.KlasseVon = integerWert(zeile, "KlasseVon");
        k.KlasseBis = integerWert(zeile, "KlasseBis");
        k.KlasseWeibl = zeile.boolean(zeile.columnIndex("KlasseWeibl"));
        k.KlassenRang = integerWert(zeile, "KlassenRang");
    }
    return k;
}

void klassenLesen(clubdb::Connection& datei, Klassentabelle& tabelle, Dateiform& form)
{
    clubdb::Statement zeile(datei, "SELECT * FROM Altersklassen");
    std::size_t gelesen = 0;
    while (zeile.step()) {
        // The layout is told by the first record; a table without records has nothing to carry
        // over, and an empty file is never rewritten.
        if (gelesen == 0) {
            if (!integerLesbar(zeile, "KlasseVon"))
                form.aelteresFormat = true;
            const std::string typ = zeile.declaredType(zeile.columnIndex("KlassenNr"));
            form.numerischeKlassenNr = clubdb::compareIgnoringCase(text::trim(typ), "SMALLINT") == 0;
        }
        hoechstzahlPruefen(gelesen);
        anhaengen(tabelle, gelesen, klasseLesen(zeile, gelesen, form));
        ++gelesen;
    }
    tabelle.anzahl = static_cast<std::int16_t>(gelesen);
}

Dateiform lesen(Definitionen& d, const std::string& pfad)
{
    Dateiform form;
    clubdb::Connection datei = clubdb::Connection::open(pfad, clubdb::OpenMode::ReadOnly);
    disziplinenLesen(datei, d.disziplinen, form);
    klassenLesen(datei, d.klassen, form);
    datei.close();
    return form;
}

// The women's and men's lists that the age-class lookup walks: highest rank first, classes
// of equal rank in the order of the file.
void klassenlistenBilden(Definitionen& d)
{
    d.frauen.leeren();
    d.maenner.leeren();
    std::vector<Altersklasse> frauen;
    std::vector<Altersklasse> maenner;
    for (std::int16_t i = 0; i < d.klassen.anzahl; ++i) {
        const Altersklasse& klasse = d.klassen.eintraege[static_cast<std::size_t>(i)];
        if (klasse.KlassenRang >= kRangOhneAltersliste)
            continue;
        Altersklasse kopie = klasse;
        kopie.Name = text::trim(kopie.Name);
        kopie.KlassenNr = text::trim(kopie.KlassenNr);
        (klasse.KlasseWeibl ? frauen : maenner).push_back(std::move(kopie));
    }
    const auto uebernehmen = [](Klassentabelle& liste, std::vector<Altersklasse> eintraege) {
        if (eintraege.empty())
            return;
        std::stable_sort(eintraege.begin(), eintraege.end(),
                         [](const Altersklasse& a, const Altersklasse& b) { return a.KlassenRang > b.KlassenRang; });
        liste.anzahl = static_cast<std::int16_t>(eintraege.size());
        liste.eintraege = std::move(eintraege);
    };
    uebernehmen(d.frauen, std::move(frauen));
    uebernehmen(d.maenner, std::move(maenner));
}

// The file could not be read: offer to replace it by an empty one. The tables keep what was
// read before the failure. A file that another program holds, or that may not be read, is not
// damaged; this system would let it be deleted all the same, so it is kept, and creating the
// empty file then fails and says so.
Ausgang fehlerschritt(const std::string& pfad, const clubdb::DbError& fehler, const Umgebung& umgebung)
{
    const Answer anlegen = umgebung.fragen.ask(meldung::kVerbindungsfehler,
                                               "Datei " + pfad + " konnte nicht geöffnet werden oder ist beschädigt!" +
                                                   meldung::kZeilenende + "Soll eine leere Datei angelegt werden?",
                                               Buttons::YesNo);
    if (anlegen != Answer::Yes)
        return Ausgang::Weiter;
    if (dateiVorhanden(pfad)) {
        const Answer ueberschreiben = umgebung.fragen.ask(
            meldung::kSicherheitsabfrage, "Achtung! Soll die vorhandene Datei " + pfad + " überschrieben werden?",
            Buttons::OkCancel);
        if (ueberschreiben != Answer::Ok)
            return Ausgang::Weiter;
        std::error_code ec;
        if (fehler.number() != clubdb::fehler::kDateiGesperrt)
            std::filesystem::remove(pfad, ec);
    }
    return WkAkAnlegen(pfad, umgebung);
}

} // namespace

std::string Vorgabepfad(const std::string& programmOrdner)
{
    const std::filesystem::path ordner(programmOrdner);
    // Where the definitions files lie beside the program, they are the ones the user put there;
    // an installed program keeps its sample in its data folder.
    const std::filesystem::path datenordner = (ordner / TVX_DATENORDNER_RELATIV).lexically_normal();
    for (const std::filesystem::path& suchordner : {ordner, datenordner}) {
        for (const char* name : kVorgabedateien) {
            const std::string pfad = (suchordner / name).string();
            if (dateiVorhanden(pfad))
                return pfad;
        }
    }
    return (ordner / std::end(kVorgabedateien)[-1]).string();
}

Ausgang WkAkLaden(Definitionen& d, std::string& definitionsPfad, const Umgebung& umgebung)
{
    d.disziplinen.leeren();
    d.klassen.leeren();

    if (definitionsPfad.empty())
        definitionsPfad = Vorgabepfad(umgebung.programmOrdner);

    if (!dateiVorhanden(definitionsPfad)) {
        const Answer anlegen = umgebung.fragen.ask(meldung::kFehlendeDatei,
                                                   std::string("Datei mit den Voreinstellungen der Klassen wurde "
                                                               "nicht gefunden.") +
                                                       meldung::kZeilenende + "Soll eine leere Datei angelegt werden?",
                                                   Buttons::YesNo);
        // On No the opening below fails and offers the same once more.
        if (anlegen == Answer::Yes && WkAkAnlegen(definitionsPfad, umgebung) == Ausgang::ProgrammBeenden)
            return Ausgang::ProgrammBeenden;
    }

    Dateiform form;
    try {
        form = lesen(d, definitionsPfad);
    } catch (const clubdb::DbError& fehler) {
        return fehlerschritt(definitionsPfad, fehler, umgebung);
    }

    klassenlistenBilden(d);

    if (form.aelteresFormat || form.numerischeKlassenNr)
        return WkAkUmstellen(d, definitionsPfad, umgebung);
    return Ausgang::Weiter;
}

} // namespace definitions
