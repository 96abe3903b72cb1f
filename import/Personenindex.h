#pragma once

// Person matching for federation exports: the stored persons held in memory, indexed by birth
// date and by postcode.
//
// The plain searches read every stored person for every export line, so a members file of a
// hundred thousand lines takes the better part of an hour. Only a stored person that agrees in
// six or seven of the seven properties can change what is stored or reported (the sort of the
// candidates is stable, and scores of four and five are never reported), and six agreeing
// properties need an equal birth date or an equal postcode. So the persons of the same birth
// date and of the same postcode are all candidates that matter; each is tested with the very
// search condition of the plain query (the program's LIKE) and they come in the order of the
// plain query, sorted by name regardless of case and then by key. The results are the same.

#include "import/Mitgliederabfragen.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace importer {

class Personenindex : public Mitgliederabfragen
{
public:
    // Reads every stored person and the number of each person's first membership. With
    // alleMitgliedschaften, every membership in the file was stored by this program, which names
    // person and club by their keys: the index then reads them all and never asks the file for a
    // person's membership (the file need not have an index of the memberships by person).
    Personenindex(clubdb::Connection& db, bool alleMitgliedschaften);

    // The candidates that can score six or seven, in the order of the plain search; persons
    // that score less are left out where that saves work, since they change nothing.
    std::vector<Kandidat> Kandidatensuche(const Mitgliedsdaten& m) override;
    std::optional<std::int64_t> Personensuche(const Mitgliedsdaten& m) override;
    std::int64_t PersonAnlegen(const Mitgliedsdaten& m) override;
    std::optional<std::int64_t> MitgliedschaftSuchen(std::int64_t vereinKey, std::int64_t personKey) override;
    std::int64_t MitgliedschaftAnlegen(std::int64_t personKey, std::int64_t vereinKey, const std::string& nummer,
                                       const clubdb::Date& eintritt, bool stamm) override;

private:
    // The fields of a person as stored, texts with their trailing blank.
    enum Feld : unsigned { Name, Vorname, Ort, Strasse, Plz, Mitgliedsnummer, Feldzahl };

    static constexpr std::uint32_t kKeine = 0xFFFFFFFF; // no entry

    // One stored person; its texts lie in m_bloecke, so that a million persons fit in memory.
    struct Person
    {
        std::int64_t key = 0;
        clubdb::Date geburtsdatum;
        std::uint32_t anfang[Feldzahl] = {}; // block in the high bits, position in it in the low ones
        std::uint16_t laenge[Feldzahl] = {};
        std::uint32_t ersteMitgliedschaft = kKeine; // in m_mitgliedschaften; the others are linked from there
        std::uint8_t ohneWert = 0; // one bit per Feld: the field has no value
        bool datumOhneWert = false;
        bool weiblich = false;
        bool mitgliedschaft = false;         // Mitgliedsnummer holds the number of the first membership
        bool mitgliedschaftenBekannt = false; // all its memberships are linked from ersteMitgliedschaft
    };

    std::string_view feld(const Person& p, Feld f) const;
    bool hatWert(const Person& p, Feld f) const { return !(p.ohneWert & (1u << f)); }
    void feldSetzen(Person& p, Feld f, const std::optional<std::string>& wert);
    void aufnehmen(Person p); // texts and birth date set
    void aufnehmen(const clubdb::Statement& zeile);
    bool vorher(std::uint32_t a, std::uint32_t b) const; // ORDER BY M_Name regardless of case, M_ID
    bool passt(const Person& p, Feld f, const std::string& muster) const;
    Personenwerte werte(const Person& p) const;
    Kandidat kandidat(const Person& p) const;
    Person* person(std::int64_t key);
    std::optional<std::uint32_t> m_zuletztGefunden; // by the person search, for the memberships that follow

    // The neighbours of a person in the indexes, with what lets a search pass over most of them
    // without reading them (see zeichen() in Personenindex.cpp).
    struct Plznachbar
    {
        std::uint32_t person;  // index in m_personen
        std::uint32_t name;    // zeichen() of the last name
        std::uint32_t vorname; // of the first name and of the street; 0 for a person without birth date
        std::uint32_t strasse;
    };
    struct Datumsnachbar
    {
        std::uint32_t person;
        std::uint32_t name;
        std::uint32_t nameGefaltet; // zeichen() of the last name, letters in one case
        std::uint32_t vorname;      // zeichen() of the first name
        std::uint16_t plz;          // a hash of the postcode
        bool weiblich;
    };

    // The texts of all persons, in blocks that never move: growing never copies them all.
    std::vector<std::unique_ptr<char[]>> m_bloecke;
    std::size_t m_belegt = 0; // bytes used of the last block
    std::deque<Person> m_personen; // by key, as stored; a deque, so that growing copies nothing
    bool m_nachKeyGeordnet = true; // false only for keys the engine gave out of order

    // Lists of neighbours by key. A line asks for the same lists up to three times, so the list
    // asked for last is remembered: a federation's index is far larger than the processor's caches.
    template <typename Schluessel, typename Nachbar> class Nachbarlisten
    {
    public:
        // The list of the key; nullptr when there is none and anlegen is false.
        std::vector<Nachbar>* liste(const Schluessel& schluessel, bool anlegen)
        {
            if (!m_gemerkt || m_schluessel != schluessel || (anlegen && !m_liste)) {
                const auto gefunden = m_listen.find(schluessel);
                m_liste = gefunden != m_listen.end() ? &gefunden->second
                          : anlegen                  ? &m_listen[schluessel]
                                                     : nullptr;
                m_schluessel = schluessel;
                m_gemerkt = true;
            }
            return m_liste;
        }

    private:
        std::unordered_map<Schluessel, std::vector<Nachbar>> m_listen;
        bool m_gemerkt = false;
        Schluessel m_schluessel{};
        std::vector<Nachbar>* m_liste = nullptr;
    };

    // Lists of neighbours by birth day: a table for the days from the zero date to 2079, which
    // takes every living person's birthday without a search, and lists by key for the days that
    // only a garbled date gives.
    class Tageslisten
    {
    public:
        std::vector<Datumsnachbar>* liste(std::int64_t tag, bool anlegen)
        {
            if (tag < 0 || tag >= kTage)
                return m_andere.liste(tag, anlegen);
            if (m_tage.empty()) {
                if (!anlegen)
                    return nullptr;
                m_tage.resize(kTage);
            }
            std::vector<Datumsnachbar>& liste = m_tage[static_cast<std::size_t>(tag)];
            return liste.empty() && !anlegen ? nullptr : &liste;
        }

    private:
        static constexpr std::int64_t kTage = 1 << 16;
        std::vector<std::vector<Datumsnachbar>> m_tage;
        Nachbarlisten<std::int64_t, Datumsnachbar> m_andere;
    };
    Tageslisten m_nachGeburtsdatum;

    // Lists of neighbours by postcode and sex. A postcode of up to seven bytes is packed with the
    // sex into one number and found in an open table of such numbers, which stays in the
    // processor's caches even with the postcodes of a whole country; a longer one is found by text.
    class Plzlisten
    {
    public:
        std::vector<Plznachbar>* liste(std::string_view plz, bool weiblich, bool anlegen);

    private:
        void wachsen();

        std::vector<std::uint64_t> m_schluessel; // 0 where free; as many as a power of two
        std::vector<std::uint32_t> m_liste;      // the list of the key at the same place
        std::deque<std::vector<Plznachbar>> m_listen;
        Nachbarlisten<std::string, Plznachbar> m_lang;
    };
    Plzlisten m_nachPlz;

    // The memberships of the persons whose memberships are known: those read with
    // alleMitgliedschaften and those stored by this index for a person whose key lies above every
    // person that a membership named before. Each person's in the order of storing.
    struct Mitgliedschaft
    {
        std::int64_t verein = 0;
        std::int64_t key = 0;
        std::uint32_t naechste = kKeine;
    };
    std::deque<Mitgliedschaft> m_mitgliedschaften;
    void mitgliedschaftMerken(Person& p, std::int64_t verein, std::int64_t key);
    std::int64_t m_hoechstePersonEinerMitgliedschaft;
};

} // namespace importer
