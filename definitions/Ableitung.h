#pragma once

// Target numbers and calibre of a discipline in a definitions file of the older layout.
//
// The older layout had no columns for the targets and the calibre; the competition program
// needs them, so they are derived from the SpO-Nr of the sport order: its digits without the
// full stop name the discipline («1.10» air rifle is 110, «1.58 O» is 158).

#include <cstdint>
#include <optional>
#include <string_view>

namespace definitions {

struct Scheibenwerte
{
    std::uint8_t ScheibeNr1 = 0;
    std::uint8_t ScheibeNr2 = 0; // 0: the discipline shoots on one kind of target
    float Kaliber = 0.0f;

    friend bool operator==(const Scheibenwerte&, const Scheibenwerte&) = default;
};

// The key of a SpO-Nr: the number at its start once full stops and the like are removed.
// Nothing when that number does not fit a signed 16-bit integer.
std::optional<std::int16_t> Ableitungsschluessel(std::string_view spoNr);

// The targets and calibre of a key; a key that names no known discipline gives 0, 0 and
// the air-gun calibre 4.5.
Scheibenwerte ScheibenwerteFuer(std::int16_t schluessel);

} // namespace definitions
