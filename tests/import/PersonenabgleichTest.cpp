#include "import/Personenabgleich.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace importer;

namespace {

Mitgliedsdaten mitglied()
{
    Mitgliedsdaten m;
    std::tie(m.nachname, m.vorname, m.geburtsdatum, m.strasse, m.plz, m.ort, m.mitgliedsnummer) = std::tuple(
        "Müller", "Hans", *clubdb::Date::fromCivil(1961, 12, 24), "Hauptstr. 12", "86150", "Augsburg", "04-001-0027");
    return m;
}

// A stored person like the member, changed by the function, with its score.
Kandidat wie(std::int16_t punkte, const std::function<void(Kandidat&)>& aendern = {})
{
    const Mitgliedsdaten m = mitglied();
    Kandidat k{m.nachname, m.vorname, m.geburtsdatum, m.weiblich, m.ort, m.plz, m.strasse, punkte, 0,
               m.mitgliedsnummer};
    if (aendern)
        aendern(k);
    return k;
}

} // namespace

// Names, town and street agree when one contains the other; the score, unlike the search, minds
// letter case.
TEST(PersonenabgleichTest, ScoreCountsAgreeingProperties)
{
    const std::vector<std::pair<std::function<void(Kandidat&)>, int>> faelle = {
        {[](Kandidat&) {}, 7},
        {[](Kandidat& k) { k.strasse = "Hauptstr. 12a"; }, 7},
        {[](Kandidat& k) { k.vorname = ""; }, 7},
        {[](Kandidat& k) { k.nachname = "MÜLLER", k.weiblich = true; }, 5},
        {[](Kandidat& k) { k.plz = "86152", k.geburtsdatum = clubdb::Date(), k.ort = "augsburg"; }, 4},
    };
    for (std::size_t i = 0; i < faelle.size(); ++i)
        EXPECT_EQ(Punktzahl(wie(0, faelle[i].first), mitglied()), faelle[i].second) << "Fall " << i;
    EXPECT_EQ(std::pair(Enthalten("Hans-Peter", "Hans"), Enthalten("hans", "Hans")), std::pair(true, false));
    // The membership number's part before its last five characters names the home club.
    EXPECT_TRUE(IstStammmitgliedschaft(" 04-001-0027 ", " 04-001") && IstStammmitgliedschaft("0027", "04-001"));
    EXPECT_FALSE(IstStammmitgliedschaft("04-007-0027", "04-001") || IstStammmitgliedschaft("04-001-0027", "4-001"));
}

// Candidates are sorted by score, equal scores keeping their order; the best decides the report:
// 7 under another number is a definite duplicate, 6 a possible one with every candidate of 6.
TEST(PersonenabgleichTest, SortsCandidatesAndReportsDuplicates)
{
    const Mitgliedsdaten m = mitglied();
    const std::string hans = "Müller, Hans\t24.12.1961\t";
    EXPECT_EQ(Doppelbericht({wie(7)}, m), ""); // the same person under its own number
    std::vector<Kandidat> liste = {wie(4), wie(6, [](Kandidat& k) { k.weiblich = true, k.mitgliedsnummer = ""; }),
                                   wie(5), wie(6, [](Kandidat& k) { k.plz = "86152"; })};
    KandidatenSortieren(liste);
    EXPECT_EQ(Doppelbericht(liste, m),
              "\t-------> Eventuell doppelter Eintrag! Bitte Prüfen!\r\n"
              "\t* " + hans + "m\tHauptstr. 12\t86150 Augsburg\t04-001-0027\r\n"
              "\t- " + hans + "w\tHauptstr. 12\t86150 Augsburg\t\r\n"
              "\t- " + hans + "m\tHauptstr. 12\t86152 Augsburg\t04-001-0027\r\n");
    EXPECT_EQ(Doppelbericht({wie(5)}, m) + Doppelbericht({}, m), "");
}
