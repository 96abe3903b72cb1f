// Cutting a start-rights line into its values on any text, in both layouts: no crash, no
// exception, an incomplete line yields no values at all, and the cleaned numbers have their
// fixed form.

#include "Pruefen.h"

#include "import/StartberechtigungenUmsetzen.h"
#include "text/Windows1252.h"

#include <cstdint>
#include <string>

namespace {

bool nummer(const std::string& wert)
{
    return wert.empty() || text::length(wert) == 11;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view roh(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool dekodiert = data[0] % 2 == 0;
    const std::string zeile = dekodiert ? text::decodeWindows1252(roh) : std::string(roh);

    for (const bool siebenSpalten : {importer::SiebenSpalten(zeile), false, true}) {
        const importer::Startrechtszeile z = importer::StartrechtszeileAuswerten(zeile, siebenSpalten);
        if (!z.vollstaendig) {
            pruefen(z.stammverein.empty() && z.zweitverein.empty() && z.stammnummer.empty() && z.zweitnummer.empty() &&
                        z.spoNr.empty(),
                    "eine unvollständige Zeile hat keine Werte");
            continue;
        }
        pruefen(nummer(z.stammnummer) && nummer(z.zweitnummer), "Mitgliedsnummern haben elf Zeichen");
        pruefen(z.spoNr == text::trim(z.spoNr), "SpO-Nr getrimmt");
        if (dekodiert)
            pruefen(gueltigesUtf8(z.stammverein + z.zweitverein + z.stammnummer + z.zweitnummer + z.spoNr),
                    "Werte sind gültiges UTF-8");
        definitions::Disziplintabelle disziplinen;
        disziplinen.eintraege[0].SpoNr = "1.10";
        std::string name;
        importer::DisziplinSuchen(disziplinen, z.spoNr, name);
    }
    return 0;
}
