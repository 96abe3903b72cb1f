#include "uebersicht/Logleser.h"

#include "text/Windows1252.h"
#include "uebersicht/Gruende.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

namespace uebersicht {
namespace {

constexpr std::pair<std::string_view, Schritt> kUeberschriften[] = {
    {"Umsetzen der Vereinsdaten", Schritt::Vereine},
    {"Umsetzen der Mitgliederdaten", Schritt::Mitglieder},
    {"Umsetzen der Startberechtigungen", Schritt::Startberechtigungen},
};
constexpr std::string_view kKopf = "Zeile  ";
constexpr std::string_view kVerworfen = " nicht gespeichert, die Vereinsdatenbank hat sie verworfen!";
constexpr std::string_view kVerworfenGrund = "Nicht gespeichert, die Vereinsdatenbank hat sie verworfen!";
constexpr std::string_view kOhneGrund = "Kein Grund in der Logdatei";

// A lost batch is a few thousand lines, more when commits failed for a while; a record naming
// more than a million lines would cost a whole federation's worth of memory and is taken for
// garbage.
constexpr std::int64_t kHoechstensVerworfen = 1'000'000;

bool istZiffer(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the decimal number at the front of s and removes it; nothing when s does not begin with
// a digit or the number is beyond a line count.
std::optional<std::int32_t> zahl(std::string_view& s)
{
    std::int64_t wert = 0;
    std::size_t i = 0;
    for (; i < s.size() && istZiffer(s[i]); ++i) {
        wert = wert * 10 + (s[i] - '0');
        if (wert > INT32_MAX)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    s.remove_prefix(i);
    return static_cast<std::int32_t>(wert);
}

// The count record that ends a section: lines read + " Zeilen eingelesen, " + ...
bool istZaehlsatz(std::string_view satz)
{
    return zahl(satz) && satz.starts_with(" Zeilen eingelesen, ");
}

// "Zeile 7" or "Zeilen 5 bis 9" + the lost-batch text: the lines, first and last.
std::optional<std::pair<std::int32_t, std::int32_t>> verworfeneZeilen(std::string_view satz)
{
    if (!satz.ends_with(kVerworfen))
        return std::nullopt;
    satz.remove_suffix(kVerworfen.size());
    const bool mehrere = satz.starts_with("Zeilen ");
    if (!mehrere && !satz.starts_with("Zeile "))
        return std::nullopt;
    satz.remove_prefix(mehrere ? 7 : 6);
    const auto erste = zahl(satz);
    if (!erste)
        return std::nullopt;
    std::optional<std::int32_t> letzte = erste;
    if (mehrere) {
        if (!satz.starts_with(" bis "))
            return std::nullopt;
        satz.remove_prefix(5);
        letzte = zahl(satz);
    }
    if (!letzte || !satz.empty() || *letzte < *erste || *letzte - std::int64_t{*erste} >= kHoechstensVerworfen)
        return std::nullopt;
    return std::make_pair(*erste, *letzte);
}

// A person of a duplicate report: TAB, "* " or "- ", then six values with TABs between.
std::optional<Person> personenzeile(std::string_view satz)
{
    if (!satz.starts_with("\t* ") && !satz.starts_with("\t- "))
        return std::nullopt;
    const std::string_view angaben = satz.substr(3);
    if (std::count(angaben.begin(), angaben.end(), '\t') < 5)
        return std::nullopt;
    return Person{satz[1] == '*', std::string(angaben)};
}

class Leser
{
public:
    std::vector<Problemzeile> ergebnis()
    {
        // A log cut short (the disk was full) may end with a line whose reasons are missing.
        for (Problemzeile& zeile : m_zeilen)
            if (zeile.gruende.empty())
                zeile.gruende.push_back({std::string(kOhneGrund), std::string(kOhneGrund), {}});
        std::stable_sort(m_zeilen.begin(), m_zeilen.end(), [](const Problemzeile& a, const Problemzeile& b) {
            return std::pair(a.schritt, a.zeile) < std::pair(b.schritt, b.zeile);
        });
        return std::move(m_zeilen);
    }

    void satz(std::string_view s)
    {
        for (const auto& [ueberschrift, schritt] : kUeberschriften) {
            if (s == ueberschrift) {
                m_schritt = schritt;
                m_offen.clear();
                return;
            }
        }
        if (!m_schritt)
            return;
        if (s.starts_with(kKopf)) {
            std::string_view rest = s.substr(kKopf.size());
            const auto nummer = zahl(rest);
            if (nummer && rest.starts_with('\t')) {
                m_offen = {eintrag(*nummer, rest.substr(1))};
                m_bericht = false;
                return;
            }
        }
        if (const auto verworfen = verworfeneZeilen(s)) {
            m_offen.clear();
            for (std::int32_t z = verworfen->first; z <= verworfen->second; ++z)
                m_offen.push_back(eintrag(z, {}));
            grund(std::string(kVerworfenGrund));
            m_bericht = false;
            return;
        }
        if (s.empty() || istZaehlsatz(s)) {
            m_offen.clear();
            return;
        }
        if (!m_offen.empty())
            inhalt(s);
    }

private:
    // The entry of a line of the current step, made when the log first names it.
    std::size_t eintrag(std::int32_t nummer, std::string_view rohzeile)
    {
        const auto [stelle, neu] = m_index.try_emplace({*m_schritt, nummer}, m_zeilen.size());
        if (neu)
            m_zeilen.push_back({*m_schritt, nummer, {}, {}});
        Problemzeile& zeile = m_zeilen[stelle->second];
        if (zeile.rohzeile.empty())
            zeile.rohzeile = rohzeile;
        return stelle->second;
    }

    void grund(const std::string& text)
    {
        for (const std::size_t i : m_offen)
            m_zeilen[i].gruende.push_back({text, Grundart(text), {}});
    }

    // A record inside an entry: reasons, a person of the duplicate report just begun, or the
    // asterisks that frame the report of a definite duplicate.
    void inhalt(std::string_view s)
    {
        if (s.find_first_not_of('*') == std::string_view::npos)
            return;
        if (m_bericht) {
            if (auto person = personenzeile(s)) {
                for (const std::size_t i : m_offen)
                    m_zeilen[i].gruende.back().personen.push_back(*person);
                return;
            }
        }
        // "*" TAB "-------> Doppelter Eintrag! Bitte Prüfen!" TAB "*"
        if (s.starts_with("*\t") && s.ends_with("\t*") && s.size() >= 4)
            s = s.substr(2, s.size() - 4);
        for (const std::string& text : GruendeDesSatzes(s))
            grund(text);
        // Only the arrow of a duplicate report is followed by persons.
        const std::size_t anfang = s.find_first_not_of("\t ");
        m_bericht = anfang != std::string_view::npos && s.substr(anfang).starts_with("-------> ");
    }

    std::optional<Schritt> m_schritt;
    std::vector<Problemzeile> m_zeilen;
    std::map<std::pair<Schritt, std::int32_t>, std::size_t> m_index;
    std::vector<std::size_t> m_offen; // the entries that the next records belong to
    bool m_bericht = false;           // the last reason was a duplicate report: its persons follow
};

} // namespace

const char* Schrittname(Schritt schritt)
{
    switch (schritt) {
    case Schritt::Vereine:
        return "Vereine";
    case Schritt::Mitglieder:
        return "Mitglieder";
    case Schritt::Startberechtigungen:
        return "Startberechtigungen";
    }
    return "";
}

std::vector<Problemzeile> LogtextLesen(std::string_view text)
{
    Leser leser;
    while (!text.empty()) {
        const std::size_t ende = text.find("\r\n");
        leser.satz(text.substr(0, ende));
        text.remove_prefix(ende == std::string_view::npos ? text.size() : ende + 2);
    }
    return leser.ergebnis();
}

std::string LogdateiText(const std::string& pfad)
{
    std::ifstream datei(pfad, std::ios::binary | std::ios::ate);
    if (!datei)
        throw std::system_error(errno, std::generic_category(), "Logdatei " + pfad);
    std::string bytes(static_cast<std::size_t>(datei.tellg()), '\0');
    datei.seekg(0);
    if (!datei.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::system_error(EIO, std::generic_category(), "Logdatei " + pfad);
    return text::decodeWindows1252(bytes);
}

std::vector<Problemzeile> LogdateiLesen(const std::string& pfad)
{
    return LogtextLesen(LogdateiText(pfad));
}

} // namespace uebersicht
