#pragma once

// The disciplines and age classes of the competition definitions file, as the conversion
// needs them in memory: the start-rights import looks disciplines up by their SpO-Nr, the
// members import checks a Hochmeldung's class number against the class table, and the age
// class of a person is found in the women's or men's class list.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace definitions {

struct Disziplin
{
    std::string Name;
    std::string SpoNr; // sport-order number, "1.10", "1.58 O"
    std::uint8_t SerienAnzahl = 0;
    std::uint8_t SchussProSerie = 0;
    std::uint8_t WertungsOption = 0;
    bool Finale = false;
    std::uint8_t FinalTeilnehmer = 0;
    std::uint8_t FinalSchuesse = 0;
    std::uint8_t ZwSuNachSer = 0; // subtotal after this many series, 0 = none
    std::array<std::string, 12> BezSer;
    std::array<std::string, 6> BezZwSu;
    std::uint8_t ScheibeNr1 = 0;
    std::uint8_t ScheibeNr2 = 0;
    float Kaliber = 0.0f;

    friend bool operator==(const Disziplin&, const Disziplin&) = default;
};

struct Altersklasse
{
    std::string Name;
    std::string KlassenNr; // class number as text; a Hochmeldung stores it
    std::int16_t KlasseVon = 0; // lowest age
    std::int16_t KlasseBis = 0; // highest age
    bool KlasseWeibl = false;   // class for women
    std::int16_t KlassenRang = 0;

    friend bool operator==(const Altersklasse&, const Altersklasse&) = default;
};

// A list that always holds at least one entry: with n records loaded it holds entries 0 to
// n - 1 and anzahl is n; with none it holds one empty entry and anzahl is 0. Code written
// against the file's program walks "index 0 to the highest index", which is therefore the
// same for no and for one loaded record.
template <typename Eintrag> struct Tabelle
{
    std::vector<Eintrag> eintraege{Eintrag{}};
    std::int16_t anzahl = 0;

    void leeren()
    {
        eintraege.assign(1, Eintrag{});
        anzahl = 0;
    }
};

using Disziplintabelle = Tabelle<Disziplin>;
using Klassentabelle = Tabelle<Altersklasse>;

} // namespace definitions
