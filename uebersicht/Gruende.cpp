#include "uebersicht/Gruende.h"

#include <array>

namespace uebersicht {
namespace {

// What each reason of the clubs step begins with. Only the club number and the database's own
// description are values of the line: the number is six characters at most and cannot hold one
// of these beginnings, and the description comes last, so its own " - " never splits it.
constexpr std::string_view kVereinsgrundAnfang[] = {"Vereinsnummer ", "Vereinsname lang fehlt",
                                                    "Vereinsabkürzung fehlt", "Vereinsort fehlt"};
constexpr std::string_view kSpeicherfehler = "Verein konnte nicht gespeichert werden: ";
constexpr std::string_view kTrenner = " - ";

// A reason whose middle is a value of its line.
struct Muster
{
    std::string_view vorn;
    std::string_view hinten;
};

constexpr std::array<Muster, 6> kMitWert{{
    {"Vereinsnummer ", " bereits eingetragen!"},
    {"Die Vereinsnummer ", " konnte in der Vereinsdatenbank nicht gefunden werden!"},
    {"SpO-Nr ", " nicht gefunden"},
    {"SpO-Nr ", " ist zu lang"},
    {kSpeicherfehler, ""},
    {"Datenbankfehler: ", ""},
}};

bool beginntMitVereinsgrund(std::string_view s)
{
    if (s.starts_with(kSpeicherfehler))
        return true;
    for (std::string_view anfang : kVereinsgrundAnfang)
        if (s.starts_with(anfang))
            return true;
    return false;
}

std::string_view ohneVorspann(std::string_view s)
{
    while (!s.empty() && (s.front() == '\t' || s.front() == ' '))
        s.remove_prefix(1);
    for (std::string_view vorspann : {std::string_view("-------> "), std::string_view("- ")}) {
        if (s.starts_with(vorspann)) {
            s.remove_prefix(vorspann.size());
            break;
        }
    }
    return s;
}

} // namespace

std::vector<std::string> GruendeDesSatzes(std::string_view satz)
{
    std::vector<std::string> gruende;
    const auto hinzu = [&](std::string_view grund) {
        grund = ohneVorspann(grund);
        if (!grund.empty())
            gruende.emplace_back(grund);
    };
    if (!satz.starts_with(kTrenner)) {
        hinzu(satz);
        return gruende;
    }
    // " - Vereinsname lang fehlt - Vereinsabkürzung fehlt": split where the next reason begins.
    std::size_t anfang = 0;
    std::size_t suche = kTrenner.size();
    while (!satz.substr(anfang + kTrenner.size()).starts_with(kSpeicherfehler)) {
        const std::size_t naechster = satz.find(kTrenner, suche);
        if (naechster == std::string_view::npos)
            break;
        suche = naechster + 1;
        if (beginntMitVereinsgrund(satz.substr(naechster + kTrenner.size()))) {
            hinzu(satz.substr(anfang, naechster - anfang));
            anfang = naechster;
        }
    }
    hinzu(satz.substr(anfang));
    return gruende;
}

std::string Grundart(std::string_view grund)
{
    for (const Muster& m : kMitWert) {
        if (grund.size() >= m.vorn.size() + m.hinten.size() && grund.starts_with(m.vorn) && grund.ends_with(m.hinten))
            return std::string(m.vorn) + "…" + std::string(m.hinten);
    }
    return std::string(grund);
}

} // namespace uebersicht
