#include "import/Logdatei.h"

#include "text/Windows1252.h"

#include <cerrno>
#include <system_error>

namespace importer {

Logdatei::Logdatei(std::string pfad) : m_pfad(std::move(pfad))
{
    m_datei = std::fopen(m_pfad.c_str(), "wb");
    if (!m_datei)
        throw std::system_error(errno, std::generic_category(), "Logdatei " + m_pfad);
}

Logdatei::~Logdatei()
{
    if (m_datei)
        std::fclose(m_datei);
}

void Logdatei::schreiben(std::string_view text)
{
    if (!m_datei || !m_fehlerfrei)
        return;
    const std::string satz = text::encodeWindows1252(text) + "\r\n";
    if (std::fwrite(satz.data(), 1, satz.size(), m_datei) != satz.size())
        m_fehlerfrei = false;
}

bool Logdatei::schliessen()
{
    if (m_datei) {
        if (std::fclose(m_datei) != 0)
            m_fehlerfrei = false;
        m_datei = nullptr;
    }
    return m_fehlerfrei;
}

} // namespace importer
