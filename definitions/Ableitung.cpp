#include "definitions/Ableitung.h"

#include "import/Feldhelfer.h"

#include <limits>

namespace definitions {

std::optional<std::int16_t> Ableitungsschluessel(std::string_view spoNr)
{
    const std::int64_t zahl = importer::ZahlAmAnfang(importer::SonderzeichenEntfernen(spoNr));
    if (zahl > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(zahl);
}

Scheibenwerte ScheibenwerteFuer(std::int16_t schluessel)
{
    // The calibres are the nearest 32-bit floats of the decimals, as the Single column of
    // the current layout stores them.
    switch (schluessel) {
    case 110: // air rifle
    case 120:
        return {1, 0, 4.5f};
    case 130:
        return {2, 0, 4.65f};
    case 135:
        return {5, 0, 5.6f};
    case 140:
        return {3, 0, 5.6f};
    case 150:
        return {5, 0, 8.0f};
    case 156:
        return {3, 0, 11.63f};
    case 157:
        return {5, 0, 11.63f};
    case 158:
    case 159:
        return {5, 0, 8.0f};
    case 160:
        return {3, 0, 5.6f};
    case 170:
        return {5, 0, 8.0f};
    case 180:
        return {3, 0, 5.6f};
    case 190:
        return {5, 0, 8.0f};
    case 210: // air pistol
        return {4, 0, 4.5f};
    case 220:
        return {5, 0, 5.6f};
    case 230:
    case 231:
        return {6, 0, 5.6f};
    case 240:
    case 241:
        return {5, 6, 5.6f};
    case 245:
        return {5, 6, 9.65f};
    case 250:
        return {5, 0, 11.0f};
    default:
        return {0, 0, 4.5f};
    }
}

} // namespace definitions
