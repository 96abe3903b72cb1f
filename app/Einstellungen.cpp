#include "app/Einstellungen.h"

#include "text/Windows1252.h"

#include <array>
#include <filesystem>

namespace fenster {
namespace {

bool leer(std::string_view s)
{
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// The system reads a path only up to a NUL byte, so a garbled line holding one would name
// another folder or file than it shows; such a value is dropped.
bool unbrauchbar(std::string_view s)
{
    return leer(s) || s.find('\0') != std::string_view::npos;
}

// A remembered folder ends in "/"; hand-edited files may lack it. The folder counts only when
// it still exists, so that a dialog never starts in a folder that has gone.
std::string ordnerBehalten(const std::string& wert)
{
    if (unbrauchbar(wert))
        return {};
    std::string ordner = wert;
    if (ordner.size() > 1 && ordner.back() == '/')
        ordner.pop_back();
    std::error_code ec;
    if (!std::filesystem::is_directory(ordner, ec))
        return {};
    if (ordner.back() != '/')
        ordner += '/';
    return ordner;
}

std::string dateiBehalten(const std::string& wert)
{
    if (unbrauchbar(wert))
        return {};
    std::error_code ec;
    return std::filesystem::is_regular_file(wert, ec) ? wert : std::string();
}

} // namespace

Einstellungen EinstellungenLesen(std::string_view inhalt)
{
    std::array<std::string, 4> zeilen;
    std::size_t nummer = 0;
    std::size_t anfang = 0;
    while (anfang < inhalt.size() && nummer < zeilen.size()) {
        std::size_t ende = inhalt.find_first_of("\r\n", anfang);
        if (ende == std::string_view::npos)
            ende = inhalt.size();
        zeilen[nummer++] = text::decodeWindows1252(inhalt.substr(anfang, ende - anfang));
        if (ende + 1 < inhalt.size() && inhalt[ende] == '\r' && inhalt[ende + 1] == '\n')
            ++ende;
        anfang = ende + 1;
    }
    return {zeilen[0], zeilen[1], zeilen[2], zeilen[3]};
}

std::string EinstellungenSchreiben(const Einstellungen& einstellungen)
{
    const std::string zeilenende = "\r\n";
    return text::encodeWindows1252(einstellungen.vdbOrdner) + zeilenende +
           text::encodeWindows1252(einstellungen.vergleichsdatenbank) + zeilenende + zeilenende +
           text::encodeWindows1252(einstellungen.definitionsPfad) + zeilenende;
}

Einstellungen EinstellungenPruefen(const Einstellungen& gelesen)
{
    Einstellungen behalten;
    behalten.vdbOrdner = ordnerBehalten(gelesen.vdbOrdner);
    behalten.vergleichsdatenbank = gelesen.vergleichsdatenbank;
    behalten.exportOrdner = ordnerBehalten(gelesen.exportOrdner);
    behalten.definitionsPfad = dateiBehalten(gelesen.definitionsPfad);
    return behalten;
}

} // namespace fenster
