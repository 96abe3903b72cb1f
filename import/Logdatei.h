#pragma once

// The conversion log: every export line that could not be converted cleanly, with its
// reasons, so that the club official can mend it in the member administration.
//
// The file is Windows-1252 text, read with the plain text viewers of the club PCs. Every
// write is one record ending with CR LF; a text that itself ends with CR LF therefore leaves an
// empty line behind it, and that is how the steps separate their sections.

#include "import/FileSink.h"

#include <string>
#include <string_view>

namespace importer {

class Logdatei
{
public:
    // Creates the file anew through oeffnen, replacing one of the same name. Throws
    // std::system_error when it cannot be created.
    explicit Logdatei(std::string pfad, const FileSinkOpener& oeffnen = openFileSink);
    ~Logdatei();
    Logdatei(const Logdatei&) = delete;
    Logdatei& operator=(const Logdatei&) = delete;

    // Writes one record: text in Windows-1252, then CR LF. After the first failed write
    // nothing more is written, and fehlerfrei() tells.
    void schreiben(std::string_view text);

    // Closes the file; false when any record could not be written completely.
    bool schliessen();

    bool fehlerfrei() const { return m_fehlerfrei; }
    const std::string& pfad() const { return m_pfad; }

private:
    void leeren();

    std::string m_pfad;
    std::unique_ptr<FileSink> m_datei;
    // The records gather here and go to the file a buffer at a time: one write of the log is one
    // full buffer, and the rest when it is closed. A problem line costs no call of the system.
    std::string m_puffer;
    bool m_fehlerfrei = true;
};

} // namespace importer
