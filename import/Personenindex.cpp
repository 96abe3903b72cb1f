#include "import/Personenindex.h"

#include "clubdb/SqlFunctions.h"
#include "import/Feldhelfer.h"
#include "text/Utf8.h"

#include <algorithm>
#include <limits>

namespace importer {
namespace {

// Blocks of the persons' texts: 1 MiB, so that a block and a position in it fit 32 bits.
constexpr unsigned kBlockBits = 20;
constexpr std::size_t kBlock = std::size_t{1} << kBlockBits;

// The columns in the order of the index's queries.
const char* const kSpalten = "SELECT M_ID, M_Name, M_Vorname, M_Ort, M_Straße, M_Plz, M_GebDat, M_Weiblich "
                             "FROM Schuetzendaten";

std::string irgendwo(std::string_view wert)
{
    std::string muster = "%";
    muster += LikeMuster(wert);
    muster += '%';
    return muster;
}

// Persons of one postcode and one sex: a neighbour of the other sex and another birth date can
// never score six.
std::string plzSchluessel(std::string_view plz, bool weiblich)
{
    return std::string(plz) + (weiblich ? "\x01w" : "\x01m");
}

// Where a packed postcode is looked for first in a table of maske + 1 places: the middle bits of a
// multiplication, which spread neighbouring postcodes over the table.
std::size_t erstePlatz(std::uint64_t schluessel, std::size_t maske)
{
    return static_cast<std::size_t>((schluessel * 0x9E3779B97F4A7C15u) >> 32) & maske;
}

// Which bytes a text holds, one bit for each of 32 groups of bytes: a text can only hold another
// when it holds every byte of it, so most neighbours are passed over by comparing two numbers.
// Blanks and LIKE's wildcards count for nothing.
std::uint32_t zeichen(std::string_view text)
{
    std::uint32_t bits = 0;
    for (const char c : text) {
        if (c != ' ' && c != '%' && c != '_')
            bits |= 1u << (static_cast<unsigned char>(c) & 31);
    }
    return bits;
}

// One of two texts may contain the other.
bool einerKannDenAnderenEnthalten(std::uint32_t a, std::uint32_t b)
{
    return (a & ~b) == 0 || (b & ~a) == 0;
}

// The stored text may match a LIKE pattern: it holds every letter of it, regardless of case.
bool kannPassen(std::uint32_t gespeichertGefaltet, std::uint32_t musterGefaltet)
{
    return (musterGefaltet & ~gespeichertGefaltet) == 0;
}

std::uint16_t plzStreuwert(std::string_view plz)
{
    return static_cast<std::uint16_t>(std::hash<std::string_view>{}(plz));
}

// Asks the processor to fetch the entries of a list from memory at once. The lists of a line
// lie far from those of the line before; read one after the other, each of their cache lines
// would wait for memory in turn, and the longer the lists, the longer.
template <typename Nachbar> void vorausLaden(const std::vector<Nachbar>* liste)
{
    if (!liste)
        return;
    constexpr std::size_t kZeile = 64;
    const char* anfang = reinterpret_cast<const char*>(liste->data());
    const std::size_t groesse = std::min<std::size_t>(liste->size() * sizeof(Nachbar), 32 * kZeile);
    for (std::size_t i = 0; i < groesse; i += kZeile)
        __builtin_prefetch(anfang + i);
}

std::optional<std::string> wert(const clubdb::Statement& zeile, int spalte)
{
    return zeile.isNull(spalte) ? std::nullopt : std::optional(zeile.text(spalte));
}

} // namespace

Personenindex::Personenindex(clubdb::Connection& db, bool alleMitgliedschaften)
    : Mitgliederabfragen(db)
    , m_hoechstePersonEinerMitgliedschaft(std::numeric_limits<std::int64_t>::min())
{
    clubdb::Statement alle(db, std::string(kSpalten) + " ORDER BY M_ID");
    while (alle.step())
        aufnehmen(alle);

    clubdb::Statement mitgliedschaften(
        db, "SELECT Mgl_Schütze_ID, Mgl_MglNr, Mgl_Verein_ID, Mgl_ID FROM Mitgliedschaft ORDER BY Mgl_ID");
    while (mitgliedschaften.step()) {
        if (mitgliedschaften.isNull(0))
            continue;
        const std::int64_t key = mitgliedschaften.integer(0);
        m_hoechstePersonEinerMitgliedschaft = std::max(m_hoechstePersonEinerMitgliedschaft, key);
        Person* p = person(key);
        if (p && !p->mitgliedschaft) {
            p->mitgliedschaft = true;
            feldSetzen(*p, Mitgliedsnummer, wert(mitgliedschaften, 1));
        }
        if (p && alleMitgliedschaften)
            mitgliedschaftMerken(*p, mitgliedschaften.integer(2), mitgliedschaften.integer(3));
    }
    if (alleMitgliedschaften) {
        for (Person& p : m_personen)
            p.mitgliedschaftenBekannt = true;
    }
}

void Personenindex::mitgliedschaftMerken(Person& p, std::int64_t verein, std::int64_t key)
{
    const auto neu = static_cast<std::uint32_t>(m_mitgliedschaften.size());
    m_mitgliedschaften.push_back({verein, key, kKeine});
    std::uint32_t* ende = &p.ersteMitgliedschaft;
    while (*ende != kKeine)
        ende = &m_mitgliedschaften[*ende].naechste;
    *ende = neu;
}

std::vector<Personenindex::Plznachbar>* Personenindex::Plzlisten::liste(std::string_view plz, bool weiblich,
                                                                        bool anlegen)
{
    if (plz.size() > 7)
        return m_lang.liste(plzSchluessel(plz, weiblich), anlegen);
    // The bytes, their number and the sex in a number that is never 0.
    std::uint64_t schluessel = std::uint64_t{1} << 63 | std::uint64_t{weiblich} << 62 | std::uint64_t{plz.size()} << 56;
    for (std::size_t i = 0; i < plz.size(); ++i)
        schluessel |= std::uint64_t{static_cast<unsigned char>(plz[i])} << (8 * i);
    if (m_schluessel.empty()) {
        if (!anlegen)
            return nullptr;
        wachsen();
    }
    const std::size_t maske = m_schluessel.size() - 1;
    std::size_t i = erstePlatz(schluessel, maske);
    for (; m_schluessel[i] != 0; i = (i + 1) & maske) {
        if (m_schluessel[i] == schluessel)
            return &m_listen[m_liste[i]];
    }
    if (!anlegen)
        return nullptr;
    if (2 * (m_listen.size() + 1) > m_schluessel.size()) {
        wachsen();
        return liste(plz, weiblich, anlegen);
    }
    m_schluessel[i] = schluessel;
    m_liste[i] = static_cast<std::uint32_t>(m_listen.size());
    return &m_listen.emplace_back();
}

// Twice the places, so that at most every second one is taken.
void Personenindex::Plzlisten::wachsen()
{
    const std::vector<std::uint64_t> schluessel = std::move(m_schluessel);
    const std::vector<std::uint32_t> liste = std::move(m_liste);
    const std::size_t groesse = std::max<std::size_t>(1024, 2 * schluessel.size());
    m_schluessel.assign(groesse, 0);
    m_liste.assign(groesse, 0);
    for (std::size_t j = 0; j < schluessel.size(); ++j) {
        if (schluessel[j] == 0)
            continue;
        std::size_t i = erstePlatz(schluessel[j], groesse - 1);
        while (m_schluessel[i] != 0)
            i = (i + 1) & (groesse - 1);
        m_schluessel[i] = schluessel[j];
        m_liste[i] = liste[j];
    }
}

Personenindex::Person* Personenindex::person(std::int64_t key)
{
    if (!m_personen.empty() && m_personen.back().key == key)
        return &m_personen.back(); // the person just stored
    if (m_zuletztGefunden && m_personen[*m_zuletztGefunden].key == key)
        return &m_personen[*m_zuletztGefunden];
    if (m_nachKeyGeordnet) {
        const auto p = std::lower_bound(m_personen.begin(), m_personen.end(), key,
                                        [](const Person& a, std::int64_t k) { return a.key < k; });
        return p != m_personen.end() && p->key == key ? &*p : nullptr;
    }
    const auto p = std::find_if(m_personen.begin(), m_personen.end(), [key](const Person& a) { return a.key == key; });
    return p != m_personen.end() ? &*p : nullptr;
}

std::string_view Personenindex::feld(const Person& p, Feld f) const
{
    return {m_bloecke[p.anfang[f] >> kBlockBits].get() + (p.anfang[f] & (kBlock - 1)), p.laenge[f]};
}

void Personenindex::feldSetzen(Person& p, Feld f, const std::optional<std::string>& wert)
{
    if (!wert) {
        p.ohneWert |= static_cast<std::uint8_t>(1u << f);
        p.anfang[f] = 0;
        p.laenge[f] = 0;
        return;
    }
    p.ohneWert &= static_cast<std::uint8_t>(~(1u << f));
    p.laenge[f] = static_cast<std::uint16_t>(std::min<std::size_t>(wert->size(), 0xffff));
    if (m_bloecke.empty() || m_belegt + p.laenge[f] > kBlock) {
        m_bloecke.push_back(std::make_unique<char[]>(kBlock));
        m_belegt = 0;
    }
    p.anfang[f] = static_cast<std::uint32_t>(((m_bloecke.size() - 1) << kBlockBits) | m_belegt);
    std::copy_n(wert->data(), p.laenge[f], m_bloecke.back().get() + m_belegt);
    m_belegt += p.laenge[f];
}

void Personenindex::aufnehmen(const clubdb::Statement& zeile)
{
    Person p;
    p.key = zeile.integer(0);
    feldSetzen(p, Name, wert(zeile, 1));
    feldSetzen(p, Vorname, wert(zeile, 2));
    feldSetzen(p, Ort, wert(zeile, 3));
    feldSetzen(p, Strasse, wert(zeile, 4));
    feldSetzen(p, Plz, wert(zeile, 5));
    // A birth date is compared as the stored text "YYYY-MM-DD 00:00:00"; anything else never
    // equals the birth date of an export line.
    const auto datum = zeile.isNull(6) ? std::nullopt : clubdb::Date::fromText(zeile.text(6));
    p.datumOhneWert = !datum;
    if (datum)
        p.geburtsdatum = *datum;
    p.weiblich = !zeile.isNull(7) && zeile.boolean(7);
    aufnehmen(p);
}

void Personenindex::aufnehmen(Person p)
{
    feldSetzen(p, Mitgliedsnummer, std::nullopt);
    p.datumOhneWert = p.datumOhneWert || p.geburtsdatum.hour() != 0 || p.geburtsdatum.minute() != 0 ||
                      p.geburtsdatum.second() != 0;
    const auto index = static_cast<std::uint32_t>(m_personen.size());
    const std::string_view name = feld(p, Name);
    const std::uint32_t vorname = zeichen(feld(p, Vorname));
    const std::string_view plz = text::trimmedView(feld(p, Plz));
    if (!p.datumOhneWert) {
        const Datumsnachbar n{index,   zeichen(name),     zeichen(clubdb::caseFolded(name)),
                              vorname, plzStreuwert(plz), p.weiblich};
        m_nachGeburtsdatum.liste(p.geburtsdatum.dayNumber(), true)->push_back(n);
    }
    if (hatWert(p, Plz)) {
        // Without a birth date of its own, a person's date may agree with any other in the score:
        // then the first name or the street may differ.
        const Plznachbar n{index, zeichen(name), p.datumOhneWert ? 0 : vorname,
                           p.datumOhneWert ? 0 : zeichen(feld(p, Strasse))};
        m_nachPlz.liste(plz, p.weiblich, true)->push_back(n);
    }
    m_nachKeyGeordnet = m_nachKeyGeordnet && (m_personen.empty() || m_personen.back().key < p.key);
    m_personen.push_back(p);
}

bool Personenindex::vorher(std::uint32_t a, std::uint32_t b) const
{
    const Person& pa = m_personen[a];
    const Person& pb = m_personen[b];
    // The engine puts a name without value first.
    if (hatWert(pa, Name) != hatWert(pb, Name))
        return !hatWert(pa, Name);
    const int vergleich = clubdb::compareIgnoringCase(feld(pa, Name), feld(pb, Name));
    return vergleich != 0 ? vergleich < 0 : pa.key < pb.key;
}

bool Personenindex::passt(const Person& p, Feld f, const std::string& muster) const
{
    return hatWert(p, f) && clubdb::likeMatches(feld(p, f), muster);
}

Kandidat Personenindex::kandidat(const Person& p) const
{
    Kandidat k;
    k.nachname = text::trimmedView(feld(p, Name));
    k.vorname = text::trimmedView(feld(p, Vorname));
    k.geburtsdatum = p.geburtsdatum;
    k.weiblich = p.weiblich;
    k.ort = text::trimmedView(feld(p, Ort));
    k.plz = text::trimmedView(feld(p, Plz));
    k.strasse = text::trimmedView(feld(p, Strasse));
    k.personKey = p.key;
    k.mitgliedsnummer = text::trimmedView(feld(p, Mitgliedsnummer));
    return k;
}

Personenwerte Personenindex::werte(const Person& p) const
{
    return {text::trimmedView(feld(p, Name)), text::trimmedView(feld(p, Vorname)),
            p.geburtsdatum,
            p.weiblich,
            text::trimmedView(feld(p, Ort)),
            text::trimmedView(feld(p, Plz)),
            text::trimmedView(feld(p, Strasse))};
}

std::vector<Kandidat> Personenindex::Kandidatensuche(const Mitgliedsdaten& m)
{
    // A person below six is left out before anything costlier: it cannot change anything.
    std::vector<std::uint32_t> treffer;
    const std::uint32_t nachname = zeichen(m.nachname);
    const std::uint32_t vorname = zeichen(m.vorname);
    const auto* gleichesDatum = m_nachGeburtsdatum.liste(m.geburtsdatum.dayNumber(), false);
    const auto* gleichePlz = m_nachPlz.liste(m.plz, m.weiblich, false);
    vorausLaden(gleichesDatum);
    vorausLaden(gleichePlz);
    if (gleichesDatum) {
        // The same birth date alone fulfils the plain search's condition. Six allow one other
        // property to differ: the cheap ones are looked at first.
        const std::uint16_t plz = plzStreuwert(m.plz);
        for (const Datumsnachbar& n : *gleichesDatum) {
            if ((n.weiblich != m.weiblich) + (n.plz != plz) + !einerKannDenAnderenEnthalten(n.name, nachname) +
                    !einerKannDenAnderenEnthalten(n.vorname, vorname) >
                1)
                continue;
            const Person& p = m_personen[n.person];
            const int abweichend = (p.weiblich != m.weiblich) + (text::trimmedView(feld(p, Plz)) != m.plz);
            if (abweichend > 1 || (abweichend == 1 && !Enthalten(text::trimmedView(feld(p, Name)), m.nachname)))
                continue;
            if (Punktzahl(werte(p), m) >= 6)
                treffer.push_back(n.person);
        }
    }
    if (gleichePlz) {
        std::optional<std::string> name; // the LIKE patterns, made for the first person that needs them
        std::optional<std::string> vornameMuster;
        const std::uint32_t strasse = zeichen(m.strasse);
        for (const Plznachbar& n : *gleichePlz) {
            // With another birth date six needs every other property to agree (the sex does, by the
            // key); the names and the street are the cheapest to test first. Then the plain search
            // needs the last or the first name found by LIKE.
            if (!einerKannDenAnderenEnthalten(n.name, nachname) || !einerKannDenAnderenEnthalten(n.vorname, vorname) ||
                !einerKannDenAnderenEnthalten(n.strasse, strasse))
                continue;
            const std::uint32_t i = n.person;
            const Person& p = m_personen[i];
            if (!p.datumOhneWert && p.geburtsdatum == m.geburtsdatum)
                continue; // found by its birth date already
            if (!Enthalten(text::trimmedView(feld(p, Name)), m.nachname))
                continue;
            if (Punktzahl(werte(p), m) < 6)
                continue;
            if (!name) {
                name = irgendwo(m.nachname);
                vornameMuster = irgendwo(m.vorname);
            }
            if (passt(p, Name, *name) || passt(p, Vorname, *vornameMuster))
                treffer.push_back(i);
        }
    }
    std::sort(treffer.begin(), treffer.end(), [this](std::uint32_t a, std::uint32_t b) { return vorher(a, b); });

    std::vector<Kandidat> kandidaten;
    kandidaten.reserve(treffer.size());
    for (const std::uint32_t i : treffer)
        kandidaten.push_back(kandidat(m_personen[i]));
    return kandidaten;
}

std::optional<std::int64_t> Personenindex::Personensuche(const Mitgliedsdaten& m)
{
    const auto* gleichesDatum = m_nachGeburtsdatum.liste(m.geburtsdatum.dayNumber(), false);
    if (!gleichesDatum)
        return std::nullopt;
    const std::string name = irgendwo(m.nachname);
    const std::uint32_t nameGefaltet = zeichen(clubdb::caseFolded(name));
    std::optional<std::string> vorname; // the other patterns, made for the first person that needs them
    std::optional<std::string> ort;
    std::optional<std::string> strasse;
    std::optional<std::uint32_t> erster;
    for (const Datumsnachbar& n : *gleichesDatum) {
        if (!kannPassen(n.nameGefaltet, nameGefaltet))
            continue;
        const std::uint32_t i = n.person;
        const Person& p = m_personen[i];
        if (!passt(p, Name, name))
            continue;
        if (!vorname) {
            vorname = irgendwo(m.vorname);
            ort = irgendwo(m.ort);
            strasse = irgendwo(m.strasse);
        }
        if (passt(p, Vorname, *vorname) && passt(p, Ort, *ort) && passt(p, Strasse, *strasse) &&
            (!erster || vorher(i, *erster)))
            erster = i;
    }
    if (!erster)
        return std::nullopt;
    m_zuletztGefunden = erster;
    return m_personen[*erster].key;
}

std::int64_t Personenindex::PersonAnlegen(const Mitgliedsdaten& m)
{
    const std::int64_t key = Mitgliederabfragen::PersonAnlegen(m);
    // Index the person with the values just stored, so that every later search sees exactly
    // what the plain query would see.
    Person p;
    p.key = key;
    feldSetzen(p, Name, GespeicherterText(m.nachname));
    feldSetzen(p, Vorname, GespeicherterText(m.vorname));
    feldSetzen(p, Ort, GespeicherterText(m.ort));
    feldSetzen(p, Strasse, GespeicherterText(m.strasse));
    feldSetzen(p, Plz, GespeicherterText(m.plz));
    p.geburtsdatum = m.geburtsdatum;
    p.weiblich = m.weiblich;
    // A person stored now has only the memberships that this index stores for it from now on.
    p.mitgliedschaftenBekannt = key > m_hoechstePersonEinerMitgliedschaft;
    aufnehmen(p);
    return key;
}

std::optional<std::int64_t> Personenindex::MitgliedschaftSuchen(std::int64_t vereinKey, std::int64_t personKey)
{
    // The first of the person's memberships in the club, in the order of storing.
    if (const Person* p = person(personKey); p && p->mitgliedschaftenBekannt) {
        for (std::uint32_t i = p->ersteMitgliedschaft; i != kKeine; i = m_mitgliedschaften[i].naechste) {
            if (m_mitgliedschaften[i].verein == vereinKey)
                return m_mitgliedschaften[i].key;
        }
        return std::nullopt;
    }
    return Mitgliederabfragen::MitgliedschaftSuchen(vereinKey, personKey);
}

std::int64_t Personenindex::MitgliedschaftAnlegen(std::int64_t personKey, std::int64_t vereinKey,
                                                  const std::string& nummer, const clubdb::Date& eintritt, bool stamm)
{
    const std::int64_t key = Mitgliederabfragen::MitgliedschaftAnlegen(personKey, vereinKey, nummer, eintritt, stamm);
    m_hoechstePersonEinerMitgliedschaft = std::max(m_hoechstePersonEinerMitgliedschaft, personKey);
    Person* p = person(personKey);
    if (p && p->mitgliedschaftenBekannt)
        mitgliedschaftMerken(*p, vereinKey, key);
    if (p && !p->mitgliedschaft) {
        p->mitgliedschaft = true;
        feldSetzen(*p, Mitgliedsnummer, nummer + " ");
    }
    return key;
}

} // namespace importer
