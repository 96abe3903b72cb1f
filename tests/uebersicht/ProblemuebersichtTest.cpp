// The problem overview reads what a real conversion wrote: hostile export lines go through the
// run, and every problem line must come back with its step, number, text as the export holds it,
// reasons and persons, in the overview's groups and in the CSV file.

#include "run/RunSetup.h"
#include "uebersicht/Logleser.h"
#include "uebersicht/ProblemCsv.h"

#include <gtest/gtest.h>

using namespace uebersicht;

namespace {

const std::string kMindestangaben = "Mindestangaben fehlen, Daten können nicht gespeichert werden";

std::string mitglied(const std::string& verein, const std::string& nummer, const std::string& name,
                     const std::string& geburt = "24.12.1961", const std::string& plz = "86150",
                     const std::string& spalte5 = "")
{
    return "1," + verein + "," + nummer + ",01.03.1990," + spalte5 + ",," + name + ",Anna," + geburt +
           ",W,,,,,,Hauptstr.,12," + plz + ",Augsburg,0821 12345";
}

struct Fall
{
    const char* datei; // "V", "M" or "Z"
    std::string zeile;
    std::vector<std::string> arten; // the kinds of its reasons, none for a clean line
};

// One run over files of these lines; a line's number is its place within its own file.
struct Lauf
{
    RunSetup r;
    std::vector<Fall> faelle;
    Problemuebersicht u;

    explicit Lauf(std::vector<Fall> f) : faelle(std::move(f))
    {
        for (const char* datei : {"V", "M", "Z"}) {
            std::vector<std::string> zeilen;
            for (const Fall& fall : faelle)
                if (fall.datei == std::string(datei))
                    zeilen.push_back(fall.zeile);
            r.write(datei, zeilen);
        }
        r.frontend.questions.answers = {questions::Answer::No}; // show the log?
        EXPECT_EQ(r.start(), run::Laufende::Beendet);
        u = UebersichtBilden(LogdateiLesen(r.logPath()));
    }

    const Gruppe& gruppe(const std::string& art) const
    {
        for (const Gruppe& g : u.gruppen)
            if (g.art == art)
                return g;
        throw std::logic_error("keine Gruppe " + art);
    }
};

} // namespace

TEST(ProblemuebersichtTest, ReadsEveryProblemLineOfARealRunBack)
{
    Lauf lauf({
        {"V", "1,04-001,SG Tell,SGT,,,,,,,Augsburg", {}},
        {"V", "1,04-002,Verein; \"Hubertus\"\tÄ,,,,,,,,Ort", {"Vereinsabkürzung fehlt", kMindestangaben}},
        {"V", "1,04-001,Doppelt,D,,,,,,,Ort", {"Vereinsnummer … bereits eingetragen!"}},
        {"V",
         "1,,,,,,,,,,",
         {"Vereinsnummer fehlt", "Vereinsname lang fehlt", "Vereinsabkürzung fehlt", "Vereinsort fehlt",
          kMindestangaben}},
        {"V", "1,04-003,Zweitverein,ZV,,,,,,,Ort", {}},
        // The number cleans to "x - yz": its " - " must not split the reason.
        {"V", "1,x  yz,Erster,E,,,,,,,Ort", {}},
        {"V", "1,x  yz,Zweiter,Z,,,,,,,Ort", {"Vereinsnummer … bereits eingetragen!"}},
        {"M", mitglied("04-001", "04-001-0001", "Huber"), {}},
        // A reason after the persons of a duplicate report begins like a person line.
        {"M",
         mitglied("04-001", "05-003-0001", "Huber"),
         {"Doppelter Eintrag! Bitte Prüfen!",
          "Der Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden!"}},
        {"M",
         mitglied("04-001", "04-001-0004", "Hohenwarter-Schwarzenbach", "01.02.1950", "86150", "A\nB"),
         {"Nachname zu lang -> gekürzt"}},
        {"M",
         mitglied("04-999", "04-999-0001", "Lang", "02.02.1952") + "," + std::string(100'000, 'x'),
         {"Die Vereinsnummer … konnte in der Vereinsdatenbank nicht gefunden werden!"}},
        {"Z",
         "1,04-001,04-001-0001,04-001,04-001-0001,1.10",
         {"Vereinsnummern sind gleich! Dies ist nur bei Behindertenwahl möglich!!!"}},
        {"Z", "=1,04-005,04-005-0001,04-001,04-001-0001,1.10", {"Stammverein nicht gefunden!"}},
        {"Z", "1,04-001,04-001-0001,04-003,04-003-0001,1.9;\"9", {"SpO-Nr … nicht gefunden"}},
    });

    std::size_t gelesen = 0;
    std::map<std::string, std::int32_t> nummer;
    for (const Fall& fall : lauf.faelle) {
        const std::int32_t zeile = ++nummer[fall.datei];
        if (fall.arten.empty())
            continue;
        ASSERT_LT(gelesen, lauf.u.zeilen.size()) << fall.zeile;
        const Problemzeile& p = lauf.u.zeilen[gelesen++];
        EXPECT_EQ(Schrittname(p.schritt)[0], fall.datei[0] == 'Z' ? 'S' : fall.datei[0]);
        EXPECT_EQ(p.zeile, zeile);
        EXPECT_EQ(p.rohzeile, fall.zeile);
        std::vector<std::string> arten;
        for (const Grund& g : p.gruende)
            arten.push_back(g.art);
        EXPECT_EQ(arten, fall.arten) << fall.zeile.substr(0, 80);
    }
    EXPECT_EQ(gelesen, lauf.u.zeilen.size());
    EXPECT_EQ(lauf.u.zeilen.size(), static_cast<std::size_t>(lauf.r.lauf.problemzahl()));

    // The duplicate's two persons, and none for the reason after them.
    const std::vector<Grund>& gruende = lauf.u.zeilen[4].gruende;
    ASSERT_EQ(std::pair(gruende[0].personen.size(), gruende[1].personen.size()),
              (std::pair<std::size_t, std::size_t>(2, 0)));
    const Grund& doppelt = gruende[0];
    EXPECT_EQ(doppelt.personen[0].angaben, "Huber, Anna\t24.12.1961\tw\tHauptstr. 12\t86150 Augsburg\t05-003-0001");
    EXPECT_TRUE(doppelt.personen[0].ausDerZeile);
    EXPECT_FALSE(doppelt.personen[1].ausDerZeile);
    EXPECT_EQ(lauf.u.zeilen[1].gruende[0].text, "Vereinsnummer 04-001 bereits eingetragen!");
    EXPECT_EQ(lauf.u.zeilen[3].gruende[0].text, "Vereinsnummer x - yz bereits eingetragen!");

    EXPECT_EQ(ProblemCsv(lauf.u, lauf.gruppe("Vereinsabkürzung fehlt").fundstellen),
              "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
              "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Verein; \"\"Hubertus\"\"\tÄ,,,,,,,,Ort\"\r\n"
              "Vereine;4;Vereinsabkürzung fehlt;\"1,,,,,,,,,,\"\r\n");
    EXPECT_EQ(
        ProblemCsv(lauf.u, lauf.gruppe("Stammverein nicht gefunden!").fundstellen),
        "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
        "Startberechtigungen;2;Stammverein nicht gefunden!;\"'=1,04-005,04-005-0001,04-001,04-001-0001,1.10\"\r\n");
}

TEST(ProblemuebersichtTest, TheCsvFileReplacesAFileOnlyWhenComplete)
{
    TempFolder ordner;
    const std::string pfad = ordner.file("Probleme.csv");
    DateiSchreiben(pfad, "alt");
    DateiSchreiben(pfad, "neu");
    EXPECT_EQ(readBytes(pfad), "neu");
    EXPECT_THROW(DateiSchreiben(ordner.file("fehlt/Probleme.csv"), "neu"), std::system_error);
    // A folder cannot be replaced by the file: it stays, and nothing is left beside it.
    std::filesystem::create_directory(ordner.file("Ordner.csv"));
    EXPECT_THROW(DateiSchreiben(ordner.file("Ordner.csv"), "neu"), std::system_error);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ordner.path()), {}), 2);
}
