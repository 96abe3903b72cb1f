#pragma once

// The club database as one import step holds it: its own connection, the prepared statements
// of the step (Werkzeuge, built on the connection) and the transaction that commits every few
// thousand lines.
//
// A club database that cannot be opened does not stop the step: every line that needs it gets
// the failure as its reason, so the log tells the user what was not stored and why.

#include "clubdb/BatchedTransaction.h"
#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "questions/Questions.h"

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
        if (m_fehler)
            throw *m_fehler;
        return *m_werkzeuge;
    }

    // Ends an export line; a failed commit shows again at the next line's writes.
    void zeileFertig()
    {
        if (!m_transaktion)
            return;
        try {
            m_transaktion->lineDone();
        } catch (const clubdb::DbError&) {
        }
    }

    // Commits what the step stored; a failure is told to the user, since the log cannot know.
    void abschliessen(questions::Questions& fragen, const std::string& was)
    {
        if (!m_transaktion)
            return;
        try {
            m_transaktion->finish();
        } catch (const clubdb::DbError& e) {
            fragen.inform("Fehler", "Die " + was + " konnten nicht gespeichert werden.\r\n" +
                                        std::to_string(e.number()) + " ; " + e.description());
        }
    }

private:
    std::optional<clubdb::Connection> m_db;
    std::optional<Werkzeuge> m_werkzeuge;
    std::optional<clubdb::BatchedTransaction> m_transaktion;
    std::optional<clubdb::DbError> m_fehler;
};

} // namespace importer
