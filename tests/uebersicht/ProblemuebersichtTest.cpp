// The problem overview reads what a real conversion wrote: hostile export lines go through the
// run, and every problem line must come back with its step, number, text as the export holds it,
// reasons and persons, in the overview's groups and in the CSV file.

#include "run/RunSetup.h"
#include "uebersicht/Logleser.h"
#include "uebersicht/ProblemCsv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace uebersicht;

TEST(ProblemuebersichtTest, ReadsEveryProblemLineOfARealRunBack)
{
    const std::string mindestangaben = "Mindestangaben fehlen, Daten können nicht gespeichert werden";
    // The file ("V", "M" or "Z"), the line, the kinds of its reasons (none for a clean line).
    // clang-format off
    const std::vector<std::tuple<const char*, std::string, std::vector<std::string>>> faelle = {
        {"V", "1,04-001,SG Tell,SGT,,,,,,,Augsburg", {}},
        {"V", "1,04-002,Verein; \"Hubertus\"\tÄ,,,,,,,,Ort", {"Vereinsabkürzung fehlt", mindestangaben}},
        {"V", "1,04-001,Doppelt,D,,,,,,,Ort", {"Vereinsnummer … bereits eingetragen!"}},
        {"V", "1,,,,,,,,,,", {"Vereinsnummer fehlt", "Vereinsname lang fehlt", "Vereinsabkürzung fehlt",
                              "Vereinsort fehlt", mindestangaben}},
        {"V", "1,04-003,Zweitverein,ZV,,,,,,,Ort", {}},
        // The number cleans to "x - yz": its " - " must not split the reason.
        {"V", "1,x  yz,Erster,E,,,,,,,Ort", {}},
        {"V", "1,x  yz,Zweiter,Z,,,,,,,Ort", {"Vereinsnummer … bereits eingetragen!"}},
        {"M", memberLine("04-001", "04-001-0001", "Huber"), {}},
        // A reason after the persons of a duplicate report begins like a person line.
        {"M", memberLine("04-001", "05-003-0001", "Huber"), {"Doppelter Eintrag! Bitte Prüfen!",
            "Der Stammverein konnte anhand der Mitgliedsnummer nicht ermittelt werden!"}},
        {"M", memberLine("04-001", "04-001-0004", "Hohenwarter-Schwarzenbach", "Eva", "A\nB"),
            {"Nachname zu lang -> gekürzt"}},
        {"M", memberLine("04-999", "04-999-0001", "Lang", "Udo", "Weg") + "," + std::string(100'000, 'x'),
            {"Die Vereinsnummer … konnte in der Vereinsdatenbank nicht gefunden werden!"}},
        {"Z", "1,04-001,04-001-0001,04-001,04-001-0001,1.10",
            {"Vereinsnummern sind gleich! Dies ist nur bei Behindertenwahl möglich!!!"}},
        {"Z", "=1,04-005,04-005-0001,04-001,04-001-0001,1.10", {"Stammverein nicht gefunden!"}},
        {"Z", "1,04-001,04-001-0001,04-003,04-003-0001,1.9;\"9", {"SpO-Nr … nicht gefunden"}},
    };
    // clang-format on
    RunSetup r;
    std::map<std::string, std::vector<std::string>> dateien;
    for (const auto& [datei, zeile, arten] : faelle)
        dateien[datei].push_back(zeile);
    for (const auto& [datei, zeilen] : dateien)
        r.write(datei.c_str(), zeilen);
    EXPECT_EQ(r.start(), run::Laufende::Beendet);
    const Problemuebersicht u = UebersichtBilden(LogdateiLesen(r.logPath()));

    // Each line with its step, its number within its own file, its text and its reasons.
    std::size_t gelesen = 0;
    std::map<std::string, std::int32_t> nummer;
    for (const auto& [datei, zeile, arten] : faelle) {
        const std::int32_t n = ++nummer[datei];
        if (arten.empty())
            continue;
        ASSERT_LT(gelesen, u.zeilen.size()) << zeile;
        const Problemzeile& p = u.zeilen[gelesen++];
        std::vector<std::string> gelesenArten;
        std::ranges::transform(p.gruende, std::back_inserter(gelesenArten), &Grund::art);
        EXPECT_EQ(std::tuple(Schrittname(p.schritt)[0], p.zeile, p.rohzeile, gelesenArten),
                  std::tuple(datei[0] == 'Z' ? 'S' : datei[0], n, zeile, arten))
            << zeile.substr(0, 80);
    }
    EXPECT_EQ(gelesen, u.zeilen.size());
    EXPECT_EQ(u.zeilen.size(), static_cast<std::size_t>(r.lauf.problemzahl()));

    // The duplicate's two persons, and none for the reason after them.
    const std::vector<Grund>& gruende = u.zeilen[4].gruende;
    ASSERT_EQ(std::pair(gruende[0].personen.size(), gruende[1].personen.size()),
              (std::pair<std::size_t, std::size_t>(2, 0)));
    EXPECT_EQ(std::tuple(gruende[0].personen[0].angaben, gruende[0].personen[0].ausDerZeile,
                         gruende[0].personen[1].ausDerZeile, u.zeilen[1].gruende[0].text, u.zeilen[3].gruende[0].text),
              std::tuple("Huber, Hans\t24.12.1961\tm\tHauptstr. 12\t86150 Augsburg\t05-003-0001", true, false,
                         "Vereinsnummer 04-001 bereits eingetragen!", "Vereinsnummer x - yz bereits eingetragen!"));

    const auto fundstellen = [&](const std::string& art) {
        const auto g = std::ranges::find(u.gruppen, art, &Gruppe::art);
        return g != u.gruppen.end() ? g->fundstellen : std::vector<Fundstelle>{};
    };
    EXPECT_EQ(
        ProblemCsv(u, fundstellen("Vereinsabkürzung fehlt")) +
            ProblemCsv(u, fundstellen("Stammverein nicht gefunden!")),
        "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
        "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Verein; \"\"Hubertus\"\"\tÄ,,,,,,,,Ort\"\r\n"
        "Vereine;4;Vereinsabkürzung fehlt;\"1,,,,,,,,,,\"\r\n"
        "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
        "Startberechtigungen;2;Stammverein nicht gefunden!;\"'=1,04-005,04-005-0001,04-001,04-001-0001,1.10\"\r\n");
    // A range of lines that the club database gave up names each of them, the last one too.
    const auto verworfen = LogtextLesen("Umsetzen der Mitgliederdaten\r\nZeilen 3 bis 5 nicht gespeichert, die "
                                        "Vereinsdatenbank hat sie verworfen!\r\n");
    EXPECT_EQ(std::pair(verworfen.size(), verworfen.back().zeile), std::pair(std::size_t{3}, 5));
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
