#include "uebersicht/ProblemCsv.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace uebersicht {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kZeilenende = "\r\n";

void feld(std::string& csv, std::string_view wert)
{
    const bool formel = !wert.empty() && std::string_view("=+-@").find(wert.front()) != std::string_view::npos;
    if (wert.find_first_of(";,\"\t\r\n") == std::string_view::npos) {
        csv += formel ? "'" : "";
        csv += wert;
        return;
    }
    csv += formel ? "\"'" : "\"";
    for (const char c : wert) {
        if (c == '"')
            csv += '"';
        csv += c;
    }
    csv += '"';
}

void zeile(std::string& csv, std::initializer_list<std::string_view> felder)
{
    bool erstes = true;
    for (std::string_view wert : felder) {
        if (!erstes)
            csv += ';';
        erstes = false;
        feld(csv, wert);
    }
    csv += kZeilenende;
}

} // namespace

std::string ProblemCsv(const Problemuebersicht& uebersicht, const std::vector<Fundstelle>& fundstellen)
{
    std::string csv(kBom);
    zeile(csv, {"Schritt", "Zeile", "Grund", "Exportzeile"});
    for (const Fundstelle& f : fundstellen) {
        const Problemzeile& z = uebersicht.zeilen.at(f.zeile);
        zeile(csv, {Schrittname(z.schritt), std::to_string(z.zeile), z.gruende.at(f.grund).text, z.rohzeile});
    }
    return csv;
}

void DateiSchreiben(const std::string& pfad, std::string_view inhalt)
{
    std::random_device zufall;
    std::string neu;
    std::FILE* datei = nullptr;
    for (int versuch = 0; !datei && versuch < 10; ++versuch) {
        neu = pfad + ".neu" + std::to_string(zufall() % 1000000);
        datei = std::fopen(neu.c_str(), "wbx"); // never a file that is there already
        if (!datei && errno != EEXIST)
            break;
    }
    if (!datei)
        throw std::system_error(errno, std::generic_category(), pfad);
    const bool geschrieben = std::fwrite(inhalt.data(), 1, inhalt.size(), datei) == inhalt.size();
    const int fehler = errno;
    if (std::fclose(datei) != 0 || !geschrieben) {
        std::remove(neu.c_str());
        throw std::system_error(geschrieben ? errno : fehler, std::generic_category(), pfad);
    }
    std::error_code ec;
    std::filesystem::rename(neu, pfad, ec);
    if (ec) {
        std::remove(neu.c_str());
        throw std::system_error(ec, pfad);
    }
}

} // namespace uebersicht
