#include "import/Exportpruefung.h"

#include "text/LineReader.h"
#include "text/Utf8.h"

#include <algorithm>
#include <system_error>

namespace importer {
namespace {

constexpr int kZeilenZumAnsehen = 20;

std::string inZeichen(const std::string& name)
{
    return "«" + name + "»";
}

// A line of a table saved with ";" or tabs between its cells.
bool tabellenzeile(const std::string& zeile)
{
    const auto anzahl = [&](char c) { return std::count(zeile.begin(), zeile.end(), c); };
    return anzahl(';') + anzahl('\t') > anzahl(',');
}

} // namespace

std::optional<std::string> MehrereDateien(const Exportdateien& dateien, std::string_view zeilenende)
{
    std::string text;
    for (const auto& [art, datei] :
         {std::pair{"Vereine", &dateien.vereine}, std::pair{"Mitglieder", &dateien.mitglieder},
          std::pair{"Startberechtigungen", &dateien.startrechte}}) {
        if (datei->weitere.empty())
            continue;
        text += std::string(zeilenende) + art + ": umgesetzt wird " + inZeichen(datei->name) + ", nicht umgesetzt: ";
        for (std::size_t i = 0; i < datei->weitere.size(); ++i)
            text += (i ? ", " : "") + inZeichen(datei->weitere[i]);
    }
    if (text.empty())
        return std::nullopt;
    return "Im Exportordner liegen mehrere Dateien derselben Art:" + text;
}

bool AlsTabelleGespeichert(const std::filesystem::path& datei)
{
    int angesehen = 0;
    int tabellenzeilen = 0;
    try {
        text::LineReader leser(datei);
        std::string zeile;
        while (angesehen < kZeilenZumAnsehen && leser.readLine(zeile)) {
            if (text::isBlank(zeile))
                continue;
            ++angesehen;
            tabellenzeilen += tabellenzeile(zeile) ? 1 : 0;
        }
    } catch (const std::system_error&) {
        return false;
    }
    return 2 * tabellenzeilen > angesehen;
}

std::optional<std::string> TabellenMeldung(const std::string& ordner, const Exportdateien& dateien)
{
    for (const Exportdatei* datei : {&dateien.vereine, &dateien.mitglieder, &dateien.startrechte}) {
        if (datei->gefunden && AlsTabelleGespeichert(std::filesystem::path(ordner) / datei->name))
            return "Die Datei " + inZeichen(datei->name) +
                   " ist keine Exportdatei von TVX: sie wurde mit einem anderen Programm als Tabelle gespeichert. "
                   "Bitte die Daten erneut aus TVX exportieren.";
    }
    return std::nullopt;
}

} // namespace importer
