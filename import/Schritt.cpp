#include "import/Schritt.h"

namespace importer {

std::string Problemkopf(std::int32_t zeilennummer, std::string_view zeile)
{
    return "Zeile  " + std::to_string(zeilennummer) + "\t" + std::string(zeile) + "\r\n";
}

std::string Fortschrittstext(std::int32_t gelesen, std::int32_t gespeichert)
{
    return std::to_string(gelesen) + " / " + std::to_string(gespeichert);
}

} // namespace importer
