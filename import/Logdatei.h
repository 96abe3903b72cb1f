#pragma once

// The conversion log: every export line that could not be converted cleanly, with its
// reasons, so that the club official can mend it in the member administration.
//
// The file is Windows-1252 text, read with the plain text viewers of the club PCs. Every
// write is one record ending with CR LF; a text that itself ends with CR LF therefore leaves an
// empty line behind it, and that is how the steps separate their sections.

#include <cstdio>
#include <string>
#include <string_view>

namespace importer {

class Logdatei
{
public:
    // Creates the file anew, replacing one of the same name. Throws std::system_error when it
    // cannot be created.
    explicit Logdatei(std::string pfad);
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
    std::string m_pfad;
    std::FILE* m_datei = nullptr;
    bool m_fehlerfrei = true;
};

} // namespace importer
