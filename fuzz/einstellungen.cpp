// The settings file's reader on any bytes: no crash, no value holding a line end, and what is
// read, written and read again gives the same values (the export folder is always written
// empty), so that a garbled file never grows or changes from one start to the next.

#include "Pruefen.h"

#include "app/Einstellungen.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view inhalt(reinterpret_cast<const char*>(data), size);
    const fenster::Einstellungen gelesen = fenster::EinstellungenLesen(inhalt);
    for (const std::string* wert :
         {&gelesen.vdbOrdner, &gelesen.vergleichsdatenbank, &gelesen.exportOrdner, &gelesen.definitionsPfad}) {
        pruefen(wert->find_first_of("\r\n") == std::string::npos, "ein Wert ohne Zeilenende");
        pruefen(gueltigesUtf8(*wert), "ein Wert in gültigem UTF-8");
    }

    const fenster::Einstellungen wieder = fenster::EinstellungenLesen(fenster::EinstellungenSchreiben(gelesen));
    pruefen(wieder.vdbOrdner == gelesen.vdbOrdner && wieder.vergleichsdatenbank == gelesen.vergleichsdatenbank &&
                wieder.definitionsPfad == gelesen.definitionsPfad && wieder.exportOrdner.empty(),
            "geschrieben und wieder gelesen bleibt gleich");
    return 0;
}
