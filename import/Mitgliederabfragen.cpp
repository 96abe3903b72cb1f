#include "import/Mitgliederabfragen.h"

#include "clubdb/SqlFunctions.h"
#include "import/Feldhelfer.h"
#include "text/Utf8.h"

namespace importer {
namespace {

const std::string kNachName = std::string(" ORDER BY M_Name COLLATE ") + clubdb::kNoCaseCollation + ", M_ID";

// A LIKE pattern that finds the value anywhere in a field.
std::string irgendwo(std::string_view wert)
{
    return "%" + LikeMuster(wert) + "%";
}

// Stored texts end in a blank; a person stored by another program may lack a value.
std::string gelesen(const clubdb::Statement& s, int spalte)
{
    return s.isNull(spalte) ? std::string() : text::trim(s.text(spalte));
}

} // namespace

std::string GespeicherterText(std::string_view wert)
{
    return text::trim(wert) + " ";
}

Mitgliederabfragen::Mitgliederabfragen(clubdb::Connection& db)
    : m_kandidaten(db, "SELECT M_Name, M_Vorname, M_GebDat, M_Weiblich, M_Ort, M_Plz, M_Straße, M_ID, "
                       "(SELECT Mgl_MglNr FROM Mitgliedschaft WHERE Mgl_Schütze_ID = M_ID ORDER BY Mgl_ID LIMIT 1) "
                       "FROM Schuetzendaten WHERE M_Name LIKE ? OR M_Vorname LIKE ? OR M_GebDat = ?" +
                           kNachName)
    , m_person(db, "SELECT M_ID FROM Schuetzendaten WHERE M_Name LIKE ? AND M_Vorname LIKE ? AND M_Ort LIKE ? AND "
                   "M_Straße LIKE ? AND M_GebDat = ?" +
                       kNachName + " LIMIT 1")
    // The unary "+" keeps the engine from walking a whole club's memberships: a person has few.
    , m_mitgliedschaft(db, "SELECT Mgl_ID FROM Mitgliedschaft WHERE +Mgl_Verein_ID = ? AND Mgl_Schütze_ID = ? "
                           "ORDER BY Mgl_ID LIMIT 1")
    , m_neuePerson(db, "Schuetzendaten",
                   {"M_Titel", "M_Vorname", "M_Name", "M_GebDat", "M_Weiblich", "M_Straße", "M_Plz", "M_Ort", "M_Tel",
                    "M_Mail", "M_Hochmeld", "M_Bemerk", "M_Bild", "M_Hilfsmittel", "M_update"})
    , m_neueMitgliedschaft(db, "Mitgliedschaft",
                           {"Mgl_Schütze_ID", "Mgl_Verein_ID", "Mgl_MglNr", "Mgl_Eintritt", "Mgl_Stamm", "Mgl_Pass",
                            "Mgl_update"})
    , m_eintritt(db, "Mitgliedschaft", "Mgl_ID", {"Mgl_Eintritt"})
{
}

std::vector<Kandidat> Mitgliederabfragen::Kandidatensuche(const Mitgliedsdaten& m)
{
    m_kandidaten.reset();
    m_kandidaten.bindAll({irgendwo(m.nachname), irgendwo(m.vorname), m.geburtsdatum.dateOnly()});
    std::vector<Kandidat> gefunden;
    while (m_kandidaten.step()) {
        Kandidat k;
        k.nachname = gelesen(m_kandidaten, 0);
        k.vorname = gelesen(m_kandidaten, 1);
        k.geburtsdatum = m_kandidaten.isNull(2) ? clubdb::Date() : m_kandidaten.date(2);
        k.weiblich = !m_kandidaten.isNull(3) && m_kandidaten.boolean(3);
        k.ort = gelesen(m_kandidaten, 4);
        k.plz = gelesen(m_kandidaten, 5);
        k.strasse = gelesen(m_kandidaten, 6);
        k.personKey = m_kandidaten.integer(7);
        k.mitgliedsnummer = gelesen(m_kandidaten, 8);
        gefunden.push_back(std::move(k));
    }
    m_kandidaten.reset();
    return gefunden;
}

std::optional<std::int64_t> Mitgliederabfragen::Personensuche(const Mitgliedsdaten& m)
{
    m_person.reset();
    m_person.bindAll(
        {irgendwo(m.nachname), irgendwo(m.vorname), irgendwo(m.ort), irgendwo(m.strasse), m.geburtsdatum.dateOnly()});
    std::optional<std::int64_t> key;
    if (m_person.step())
        key = m_person.integer(0);
    m_person.reset();
    return key;
}

std::int64_t Mitgliederabfragen::PersonAnlegen(const Mitgliedsdaten& m)
{
    return m_neuePerson.insert({GespeicherterText(m.titel), GespeicherterText(m.vorname),
                                GespeicherterText(m.nachname), m.geburtsdatum, m.weiblich, GespeicherterText(m.strasse),
                                GespeicherterText(m.plz), GespeicherterText(m.ort), GespeicherterText(m.telefon),
                                GespeicherterText(m.mail), GespeicherterText(m.hochmeldung), std::string(" "),
                                std::string(" "), std::string(" "), true});
}

std::optional<std::int64_t> Mitgliederabfragen::MitgliedschaftSuchen(std::int64_t vereinKey, std::int64_t personKey)
{
    m_mitgliedschaft.reset();
    m_mitgliedschaft.bindAll({vereinKey, personKey});
    std::optional<std::int64_t> key;
    if (m_mitgliedschaft.step())
        key = m_mitgliedschaft.integer(0);
    m_mitgliedschaft.reset();
    return key;
}

std::int64_t Mitgliederabfragen::MitgliedschaftAnlegen(std::int64_t personKey, std::int64_t vereinKey,
                                                       const std::string& nummer, const clubdb::Date& eintritt,
                                                       bool stamm)
{
    return m_neueMitgliedschaft.insert({personKey, vereinKey, nummer + " ", eintritt, stamm, false, true});
}

void Mitgliederabfragen::EintrittSetzen(std::int64_t mitgliedschaftKey, const clubdb::Date& eintritt)
{
    m_eintritt.update(mitgliedschaftKey, {eintritt});
}

} // namespace importer
