// The conversion log's reader on any bytes: no crash, and what it gives holds together: every
// line it names has a reason, every reason stands in exactly one group, and the CSV file of all
// of them is valid UTF-8 with one row a reason.

#include "Pruefen.h"

#include "text/Windows1252.h"
#include "uebersicht/Logleser.h"
#include "uebersicht/ProblemCsv.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = text::decodeWindows1252(std::string_view(reinterpret_cast<const char*>(data), size));
    const uebersicht::Problemuebersicht u = uebersicht::UebersichtBilden(uebersicht::LogtextLesen(text));
    std::size_t gruende = 0;
    for (const uebersicht::Problemzeile& zeile : u.zeilen) {
        pruefen(!zeile.gruende.empty(), "jede Problemzeile hat einen Grund");
        gruende += zeile.gruende.size();
    }
    std::size_t inGruppen = 0;
    for (const uebersicht::Gruppe& gruppe : u.gruppen)
        inGruppen += gruppe.fundstellen.size();
    pruefen(inGruppen == gruende, "jeder Grund steht in genau einer Gruppe");

    const auto alle = uebersicht::AlleFundstellen(u);
    const std::string csv = uebersicht::ProblemCsv(u, alle);
    pruefen(gueltigesUtf8(csv), "die CSV-Datei in gültigem UTF-8");
    std::size_t zeilenenden = 0;
    bool inAnfuehrung = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        if (csv[i] == '"')
            inAnfuehrung = !inAnfuehrung;
        else if (!inAnfuehrung && csv[i] == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n')
            ++zeilenenden;
    }
    pruefen(!inAnfuehrung && zeilenenden == alle.size() + 1, "eine Zeile der CSV-Datei je Grund, und die Kopfzeile");
    return 0;
}
