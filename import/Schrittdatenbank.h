#pragma once

// The club database as one import step holds it: its own connection, the prepared statements
// of the step (Werkzeuge, built on the connection) and the transaction that commits every few
// thousand lines.
//
// A club database that cannot be opened does not stop the step: every line that needs it gets
// the failure as its reason, so the log tells the user what was not stored and why.
//
// Lines that went through may still be lost when their batch cannot be committed (a full disk,
// another program holding the file): the step then counts as stored only what the file holds,
// the log names the lost lines, and the user is told at the end of the step, as of a line whose
// own writes failed for the storage. The run learns of every such line from the Zeilenlauf.

#include "clubdb/BatchedTransaction.h"
#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "import/Zeilenlauf.h"
#include "questions/Questions.h"

#include <cstdint>
#include <optional>
#include <string>

namespace importer {

template <typename Werkzeuge> class Schrittdatenbank
{
public:
    template <typename... Argumente> explicit Schrittdatenbank(const std::string& pfad, const Argumente&... argumente)
    {
        try {
            m_db.emplace(clubdb::Connection::open(pfad));
            m_werkzeuge.emplace(*m_db, argumente...);
            m_transaktion.emplace(*m_db);
        } catch (const clubdb::DbError& e) {
            m_fehler = e;
        }
    }

    // The step's statements; throws the failure of opening when there are none.
    Werkzeuge& werkzeuge()
    {
        if (m_fehler) {
            m_gebraucht = true;
            throw *m_fehler;
        }
        return *m_werkzeuge;
    }

    // Ends the current line of lauf. gespeichert is the step's count of stored records; when the
    // lines since the last commit were lost, it falls back to its value at that commit, and the
    // result is true: whatever the step keeps in memory of those lines is gone from the file.
    bool zeileFertig(Zeilenlauf& lauf, std::int32_t& gespeichert)
    {
        return m_transaktion && verbuchen(m_transaktion->lineDone(), lauf, gespeichert);
    }

    // Commits what the step stored, with the count as in zeileFertig(), and closes the file: the
    // step's statements and what they keep in memory are gone then. Whatever could not be stored
    // is told to the user: the log may be off, and the window shows only counts.
    void abschliessen(Zeilenlauf& lauf, std::int32_t& gespeichert, questions::Questions& fragen, const std::string& was)
    {
        if (m_transaktion)
            verbuchen(m_transaktion->finish(), lauf, gespeichert);
        melden(fragen, was, lauf.ersterSpeicherfehler());
        m_transaktion.reset();
        m_werkzeuge.reset();
        m_db.reset();
    }

private:
    // Where the step stood at the last commit.
    struct Stand
    {
        Zeilenlauf::Stand lauf;
        std::int32_t gespeichert = 0;
    };

    // Takes note of what became of the lines since the last commit; true when they were lost.
    bool verbuchen(clubdb::BatchedTransaction::Outcome ausgang, Zeilenlauf& lauf, std::int32_t& gespeichert)
    {
        using Outcome = clubdb::BatchedTransaction::Outcome;
        if (ausgang == Outcome::Open)
            return false;
        if (ausgang == Outcome::Lost) {
            if (!m_verlust)
                m_verlust = m_transaktion->error();
            lauf.zeilenVerworfen(m_stand.lauf, m_stand.gespeichert, m_transaktion->error());
            gespeichert = m_stand.gespeichert;
        }
        m_stand = {lauf.stand(), gespeichert};
        return ausgang == Outcome::Lost;
    }

    // zeilenfehler: the first write of a line that failed for the storage, also where no
    // transaction could begin and every write stood on its own.
    void melden(questions::Questions& fragen, const std::string& was, const std::optional<clubdb::DbError>& zeilenfehler)
    {
        const std::optional<clubdb::DbError>& fehler = m_gebraucht ? m_fehler : m_verlust ? m_verlust : zeilenfehler;
        if (fehler)
            fragen.inform("Fehler", "Die " + was + " konnten nicht gespeichert werden.\r\n" +
                                        std::to_string(fehler->number()) + " ; " + fehler->description());
    }

    std::optional<clubdb::Connection> m_db;
    std::optional<Werkzeuge> m_werkzeuge;
    std::optional<clubdb::BatchedTransaction> m_transaktion;
    std::optional<clubdb::DbError> m_fehler;  // the club database could not be opened
    bool m_gebraucht = false;                 // ... and a line needed it
    std::optional<clubdb::DbError> m_verlust; // the first lines lost
    Stand m_stand;
};

} // namespace importer
