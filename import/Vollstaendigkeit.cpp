#include "import/Vollstaendigkeit.h"

namespace importer {

std::vector<std::string> Vollstaendigkeit::meldungen(bool abbruchNennen) const
{
    const std::string anfang = "Die Vereinsdatenbank ist unvollständig: ";
    std::vector<std::string> texte;
    if (m_nichtGespeichert > 0)
        texte.push_back(anfang + std::to_string(m_nichtGespeichert) +
                        " Zeilen konnten wegen eines Datei- oder Speicherfehlers nicht gespeichert werden.");
    if (m_nichtFertig)
        texte.push_back(anfang + std::to_string(m_nichtFertig->number()) + " ; " + m_nichtFertig->description());
    if (m_abgebrochen && abbruchNennen)
        texte.push_back(anfang + "die Umsetzung wurde abgebrochen.");
    return texte;
}

std::string Vollstaendigkeit::BisherigeBleibt(const std::string& alt, const std::string& unvollstaendig)
{
    return "Die bisherige Vereinsdatenbank «" + alt + "» bleibt unverändert; das Unvollständige steht in «" +
           unvollstaendig + "».";
}

} // namespace importer
