#include "import/Personenabgleich.h"

#include <gtest/gtest.h>

using namespace importer;

namespace {

Mitgliedsdaten mitglied()
{
    Mitgliedsdaten m;
    m.nachname = "Müller";
    m.vorname = "Hans";
    m.geburtsdatum = *clubdb::Date::fromCivil(1961, 12, 24);
    m.strasse = "Hauptstr. 12";
    m.plz = "86150";
    m.ort = "Augsburg";
    m.mitgliedsnummer = "04-001-0027";
    return m;
}

Kandidat wie(const Mitgliedsdaten& m)
{
    Kandidat k;
    k.nachname = m.nachname;
    k.vorname = m.vorname;
    k.geburtsdatum = m.geburtsdatum;
    k.weiblich = m.weiblich;
    k.ort = m.ort;
    k.plz = m.plz;
    k.strasse = m.strasse;
    k.mitgliedsnummer = m.mitgliedsnummer;
    return k;
}

} // namespace

TEST(PersonenabgleichTest, ScoreCountsAgreeingProperties)
{
    const Mitgliedsdaten m = mitglied();
    Kandidat k = wie(m);
    EXPECT_EQ(Punktzahl(k, m), 7);
    k.strasse = "Hauptstr. 12a"; // one street contains the other
    EXPECT_EQ(Punktzahl(k, m), 7);
    k.strasse = "Hauptstr. 14";
    EXPECT_EQ(Punktzahl(k, m), 6);
    k = wie(m);
    k.nachname = "MÜLLER"; // the score, unlike the search, minds letter case
    k.weiblich = true;
    EXPECT_EQ(Punktzahl(k, m), 5);
    k = wie(m);
    k.plz = "86152";
    k.geburtsdatum = clubdb::Date();
    EXPECT_EQ(Punktzahl(k, m), 5);

    EXPECT_TRUE(Enthalten("", "Hans"));
    EXPECT_TRUE(Enthalten("Hans-Peter", "Hans"));
    EXPECT_FALSE(Enthalten("hans", "Hans"));
}

TEST(PersonenabgleichTest, SortKeepsEqualScoresInOrder)
{
    std::vector<Kandidat> liste(5);
    const std::int16_t punkte[] = {4, 6, 5, 6, 7};
    for (std::size_t i = 0; i < liste.size(); ++i) {
        liste[i].punkte = punkte[i];
        liste[i].personKey = static_cast<std::int64_t>(i + 1);
    }
    KandidatenSortieren(liste);
    std::vector<std::int64_t> keys;
    for (const Kandidat& k : liste)
        keys.push_back(k.personKey);
    EXPECT_EQ(keys, (std::vector<std::int64_t>{5, 2, 4, 3, 1}));
}

TEST(PersonenabgleichTest, HomeMembershipByTheNumbersFirstPart)
{
    EXPECT_TRUE(IstStammmitgliedschaft("04-001-0027", "04-001"));
    EXPECT_TRUE(IstStammmitgliedschaft(" 04-001-0027 ", " 04-001"));
    EXPECT_FALSE(IstStammmitgliedschaft("04-007-0027", "04-001"));
    EXPECT_TRUE(IstStammmitgliedschaft("0027", "04-001"));
    EXPECT_TRUE(IstStammmitgliedschaft("", "04-001"));
    EXPECT_FALSE(IstStammmitgliedschaft("04-001-0027", "4-001"));
}

TEST(PersonenabgleichTest, ReportsDefiniteAndPossibleDuplicates)
{
    const Mitgliedsdaten m = mitglied();
    Kandidat gleich = wie(m);
    gleich.punkte = 7;
    gleich.mitgliedsnummer = "04-003-0100";
    EXPECT_EQ(Doppelbericht({gleich}, m),
              "*********************************************************\r\n"
              "*\t-------> Doppelter Eintrag! Bitte Prüfen!\t*\r\n"
              "*********************************************************\r\n"
              "\t* Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t04-001-0027\r\n"
              "\t- Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t04-003-0100\r\n");

    gleich.mitgliedsnummer = m.mitgliedsnummer; // the same person under its own number
    EXPECT_EQ(Doppelbericht({gleich}, m), "");

    Kandidat frau = wie(m);
    frau.weiblich = true;
    frau.punkte = 6;
    frau.mitgliedsnummer = "";
    Kandidat plz = wie(m);
    plz.plz = "86152";
    plz.punkte = 6;
    Kandidat fuenf = wie(m);
    fuenf.punkte = 5;
    EXPECT_EQ(Doppelbericht({frau, fuenf, plz}, m),
              "\t-------> Eventuell doppelter Eintrag! Bitte Prüfen!\r\n"
              "\t* Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t04-001-0027\r\n"
              "\t- Müller, Hans\t24.12.1961\tw\tHauptstr. 12\t86150 Augsburg\t\r\n"
              "\t- Müller, Hans\t24.12.1961\tm\tHauptstr. 12\t86152 Augsburg\t04-001-0027\r\n");
    EXPECT_EQ(Doppelbericht({fuenf}, m), "");
    EXPECT_EQ(Doppelbericht({}, m), "");
}
