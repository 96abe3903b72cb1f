#include "import/Exportdateien.h"

#include "clubdb/SqlFunctions.h"
#include "text/Wildcard.h"

#include <algorithm>
#include <filesystem>

namespace importer {
namespace {

Exportdatei ersteDatei(const std::vector<std::string>& liste, std::string_view erstesMuster,
                       std::string_view zweitesMuster)
{
    Exportdatei datei;
    for (const std::string_view muster : {erstesMuster, zweitesMuster}) {
        for (const std::string& name : liste) {
            if (!passtZuMuster(name, muster))
                continue;
            if (datei.gefunden)
                datei.weitere.push_back(name);
            else
                datei = {name, true};
        }
        if (datei.gefunden)
            return datei;
    }
    return datei;
}

} // namespace

bool passtZuMuster(std::string_view name, std::string_view muster)
{
    return text::wildcardMatches(name, muster, U'*', U'?');
}

std::vector<std::string> Dateiliste(const std::string& ordner)
{
    std::vector<std::string> namen;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(ordner, ec), ende; !ec && it != ende; it.increment(ec)) {
        std::error_code typFehler;
        if (it->is_regular_file(typFehler))
            namen.push_back(it->path().filename().string());
    }
    std::stable_sort(namen.begin(), namen.end(), [](const std::string& a, const std::string& b) {
        const int c = clubdb::compareIgnoringCase(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return namen;
}

Exportdateien ExportdateienSuchen(const std::string& ordner)
{
    const std::vector<std::string> liste = Dateiliste(ordner);
    Exportdateien dateien;
    dateien.kreise = ersteDatei(liste, "*_K_*.csv", "*.K.*.csv");
    dateien.vereine = ersteDatei(liste, "*_V_*.csv", "*.V.*.csv");
    dateien.mitglieder = ersteDatei(liste, "*_M_*.csv", "*.M.*.csv");
    dateien.startrechte = ersteDatei(liste, "*_Z_*.csv", "*.Z.*.csv");
    return dateien;
}

} // namespace importer
