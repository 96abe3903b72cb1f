#include "import/Logdatei.h"

#include "text/Windows1252.h"

namespace importer {
namespace {

// As large as the buffer of the C library's files: a killed run loses no more of its log than
// it did when the log was written through one.
constexpr std::size_t kPuffer = 4096;

} // namespace

Logdatei::Logdatei(std::string pfad, const FileSinkOpener& oeffnen)
    : m_pfad(std::move(pfad))
    , m_datei(oeffnen(m_pfad))
{
    m_puffer.reserve(2 * kPuffer);
}

Logdatei::~Logdatei()
{
    schliessen();
}

void Logdatei::schreiben(std::string_view text)
{
    if (!m_datei || !m_fehlerfrei)
        return;
    m_puffer += text::encodeWindows1252(text);
    m_puffer += "\r\n";
    if (m_puffer.size() >= kPuffer)
        leeren();
}

void Logdatei::leeren()
{
    if (!m_puffer.empty() && m_fehlerfrei && !m_datei->write(m_puffer))
        m_fehlerfrei = false;
    m_puffer.clear();
}

bool Logdatei::schliessen()
{
    if (m_datei) {
        leeren();
        if (!m_datei->close())
            m_fehlerfrei = false;
        m_datei.reset();
    }
    return m_fehlerfrei;
}

} // namespace importer
