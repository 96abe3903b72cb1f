#include "import/Personenabgleich.h"

#include "text/Utf8.h"

#include <utility>

namespace importer {
namespace {

const char* const kSterne = "*********************************************************\r\n";

// One person of a report: TAB, marker, name, birth date, sex, street, postcode and town,
// membership number, tab-separated.
std::string personenzeile(const char* markierung, const std::string& nachname, const std::string& vorname,
                          const clubdb::Date& geburtsdatum, bool weiblich, const std::string& strasse,
                          const std::string& plz, const std::string& ort, const std::string& mitgliedsnummer)
{
    return "\t" + std::string(markierung) + nachname + ", " + vorname + "\t" + geburtsdatum.toGerman() + "\t" +
           (weiblich ? "w" : "m") + "\t" + strasse + "\t" + plz + " " + ort + "\t" + mitgliedsnummer + "\r\n";
}

std::string mitgliedszeile(const Mitgliedsdaten& m)
{
    return personenzeile("* ", m.nachname, m.vorname, m.geburtsdatum, m.weiblich, m.strasse, m.plz, m.ort,
                         m.mitgliedsnummer);
}

std::string kandidatenzeile(const Kandidat& k)
{
    return personenzeile("- ", k.nachname, k.vorname, k.geburtsdatum, k.weiblich, k.strasse, k.plz, k.ort,
                         k.mitgliedsnummer);
}

} // namespace

bool Enthalten(std::string_view a, std::string_view b)
{
    // Only the longer value can hold the other; of equal length they must be equal. Person matching
    // asks this for every neighbour of every member.
    if (a.size() < b.size())
        std::swap(a, b);
    return a.size() == b.size() ? a == b : a.find(b) != std::string_view::npos;
}

std::int16_t Punktzahl(const Kandidat& g, const Mitgliedsdaten& m)
{
    return Punktzahl(Personenwerte{g.nachname, g.vorname, g.geburtsdatum, g.weiblich, g.ort, g.plz, g.strasse}, m);
}

std::int16_t Punktzahl(const Personenwerte& g, const Mitgliedsdaten& m)
{
    int punkte = 0;
    punkte += Enthalten(g.nachname, m.nachname);
    punkte += Enthalten(g.vorname, m.vorname);
    punkte += g.geburtsdatum == m.geburtsdatum;
    punkte += g.weiblich == m.weiblich;
    punkte += Enthalten(g.ort, m.ort);
    punkte += g.plz == m.plz;
    punkte += Enthalten(g.strasse, m.strasse);
    return static_cast<std::int16_t>(punkte);
}

void KandidatenTauschen(std::vector<Kandidat>& liste, std::size_t index)
{
    std::swap(liste[index], liste[index + 1]);
}

void KandidatenSortieren(std::vector<Kandidat>& liste)
{
    bool getauscht = true;
    while (getauscht && liste.size() > 1) {
        getauscht = false;
        for (std::size_t i = 0; i + 1 < liste.size(); ++i) {
            if (liste[i].punkte < liste[i + 1].punkte) {
                KandidatenTauschen(liste, i);
                getauscht = true;
            }
        }
    }
}

bool IstStammmitgliedschaft(std::string_view mitgliedsnummer, std::string_view vereinsnummer)
{
    const std::string nummer = text::trim(mitgliedsnummer);
    const std::size_t laenge = text::length(nummer);
    if (laenge < 5)
        return true;
    return text::left(nummer, laenge - 5) == text::trim(vereinsnummer);
}

std::string Doppelbericht(const std::vector<Kandidat>& sortiert, const Mitgliedsdaten& mitglied)
{
    if (sortiert.empty())
        return {};
    const Kandidat& erster = sortiert.front();
    if (erster.punkte == 7) {
        if (erster.mitgliedsnummer == mitglied.mitgliedsnummer)
            return {};
        return std::string(kSterne) + "*\t-------> Doppelter Eintrag! Bitte Prüfen!\t*\r\n" + kSterne +
               mitgliedszeile(mitglied) + kandidatenzeile(erster);
    }
    if (erster.punkte != 6)
        return {};
    std::string bericht = "\t-------> Eventuell doppelter Eintrag! Bitte Prüfen!\r\n" + mitgliedszeile(mitglied);
    for (const Kandidat& k : sortiert) {
        if (k.punkte == 6)
            bericht += kandidatenzeile(k);
    }
    return bericht;
}

} // namespace importer
