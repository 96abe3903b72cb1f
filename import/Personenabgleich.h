#pragma once

// The decisions of person matching, as functions of values: how alike a stored person is to
// the member of an export line, which stored persons are reported as likely the same person,
// the text of those reports, and whether a membership is the home membership.
//
// They are kept apart from the searches so that a faster search of a large club database can
// serve them and give exactly the same results.

#include "clubdb/Date.h"
#include "import/Mitgliedsdaten.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace importer {

// A stored person that resembles the member record.
struct Kandidat
{
    std::string nachname; // stored values, blanks at both ends removed
    std::string vorname;
    clubdb::Date geburtsdatum;
    bool weiblich = false;
    std::string ort;
    std::string plz;
    std::string strasse;
    std::int16_t punkte = 0;   // agreeing properties, 4 to 7
    std::int64_t personKey = 0; // M_ID
    std::string mitgliedsnummer; // of the person's first stored membership, empty when none
};

// The stored values that the score compares, blanks at both ends removed.
struct Personenwerte
{
    std::string_view nachname;
    std::string_view vorname;
    clubdb::Date geburtsdatum;
    bool weiblich = false;
    std::string_view ort;
    std::string_view plz;
    std::string_view strasse;
};

// One value contains the other; case-sensitive, and an empty value is contained in every value.
bool Enthalten(std::string_view a, std::string_view b);

// How many of seven properties agree: last name, first name, town and street by containment,
// birth date, sex and postcode by equality.
std::int16_t Punktzahl(const Personenwerte& gespeichert, const Mitgliedsdaten& mitglied);
std::int16_t Punktzahl(const Kandidat& gespeichert, const Mitgliedsdaten& mitglied);

// Exchanges the entry at index with the one after it.
void KandidatenTauschen(std::vector<Kandidat>& liste, std::size_t index);

// Highest score first; entries of equal score keep their order.
void KandidatenSortieren(std::vector<Kandidat>& liste);

// The membership in the importing club is the home membership when the membership number
// without its last five characters is the club's number: 04-001-0027 belongs to 04-001.
// A number shorter than five characters counts as home membership.
bool IstStammmitgliedschaft(std::string_view mitgliedsnummer, std::string_view vereinsnummer);

// The report of the sorted candidate list for the conversion log: the definite-duplicate report
// when the best candidate agrees in all seven properties under another membership number, the
// possible-duplicate report with every candidate of score 6 when the best scores 6, else empty.
std::string Doppelbericht(const std::vector<Kandidat>& sortiert, const Mitgliedsdaten& mitglied);

} // namespace importer
