#include "uebersicht/Problemuebersicht.h"

#include <algorithm>
#include <map>
#include <utility>

namespace uebersicht {

Problemuebersicht UebersichtBilden(std::vector<Problemzeile> zeilen)
{
    Problemuebersicht u{std::move(zeilen), {}};
    std::map<std::pair<Schritt, std::string>, std::size_t> gruppeDerArt;
    for (std::size_t z = 0; z < u.zeilen.size(); ++z) {
        const Problemzeile& zeile = u.zeilen[z];
        for (std::size_t g = 0; g < zeile.gruende.size(); ++g) {
            const auto [stelle, neu] =
                gruppeDerArt.try_emplace({zeile.schritt, zeile.gruende[g].art}, u.gruppen.size());
            if (neu)
                u.gruppen.push_back({zeile.schritt, zeile.gruende[g].art, {}, 0});
            Gruppe& gruppe = u.gruppen[stelle->second];
            if (gruppe.fundstellen.empty() || gruppe.fundstellen.back().zeile != z)
                ++gruppe.anzahl;
            gruppe.fundstellen.push_back({z, g});
        }
    }
    // Groups first seen earlier stay before equally large ones: the order is the same on every run.
    std::stable_sort(u.gruppen.begin(), u.gruppen.end(), [](const Gruppe& a, const Gruppe& b) {
        return a.schritt != b.schritt ? a.schritt < b.schritt : a.anzahl > b.anzahl;
    });
    return u;
}

std::vector<const Gruppe*> GroessteGruppen(const Problemuebersicht& uebersicht, std::size_t n)
{
    std::vector<const Gruppe*> groesste;
    for (const Gruppe& gruppe : uebersicht.gruppen)
        groesste.push_back(&gruppe);
    std::stable_sort(groesste.begin(), groesste.end(),
                     [](const Gruppe* a, const Gruppe* b) { return a->anzahl > b->anzahl; });
    groesste.resize(std::min(n, groesste.size()));
    return groesste;
}

std::vector<Fundstelle> AlleFundstellen(const Problemuebersicht& uebersicht)
{
    std::vector<Fundstelle> alle;
    for (std::size_t z = 0; z < uebersicht.zeilen.size(); ++z)
        for (std::size_t g = 0; g < uebersicht.zeilen[z].gruende.size(); ++g)
            alle.push_back({z, g});
    return alle;
}

} // namespace uebersicht
