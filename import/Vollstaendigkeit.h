#pragma once

// Whether the club database holds everything that a run meant to store in it.
//
// An export line that a file or the database failed to take (a full disk, a failed write, a club
// database that could not be opened or was locked, an export file that could not be read to its
// end) is named in the log with its reason. But the club official who watches only the window's
// counters, and a script that reads only the exit code, must learn as well that the club database
// does not hold the whole export, and a replaced club database must not give way to such a one.
// Lines refused for their data (a missing club, a text the database does not take) do not count
// here: they are problems of the export, which a second run would meet again.

#include "clubdb/DbError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace importer {

class Vollstaendigkeit
{
public:
    // anzahl more export lines could not be stored because a file or the database failed.
    void zeilenNichtGespeichert(std::int64_t anzahl) { m_nichtGespeichert += anzahl; }

    // The club database could not be finished: whatever fails after or beside its lines (a
    // commit that holds no line, an index built once the tables are filled) reports here. The
    // first failure is the one told.
    void datenbankNichtFertig(const clubdb::DbError& fehler)
    {
        if (!m_nichtFertig)
            m_nichtFertig = fehler;
    }

    // The run stopped before its end: Abbruch in the window, Ctrl+C in the batch program.
    void abgebrochen() { m_abgebrochen = true; }

    bool vollstaendig() const { return m_nichtGespeichert == 0 && !m_nichtFertig && !m_abgebrochen; }
    std::int64_t nichtGespeichert() const { return m_nichtGespeichert; }
    bool datenbankFertig() const { return !m_nichtFertig; }
    bool istAbgebrochen() const { return m_abgebrochen; }

    // "Die Vereinsdatenbank ist unvollständig: " + why, one text for each reason, the lines not
    // stored first. An interruption is named only when abbruchNennen: in the window Abbruch is
    // the user's own choice and needs no message.
    std::vector<std::string> meldungen(bool abbruchNennen) const;

    // What the batch program adds when it kept an old club database in place of the incomplete
    // one: both full paths.
    static std::string BisherigeBleibt(const std::string& alt, const std::string& unvollstaendig);

private:
    std::int64_t m_nichtGespeichert = 0;
    std::optional<clubdb::DbError> m_nichtFertig;
    bool m_abgebrochen = false;
};

} // namespace importer
