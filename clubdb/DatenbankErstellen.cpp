#include "clubdb/DatenbankErstellen.h"

#include "clubdb/DbError.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace clubdb {
namespace {

FieldDefinition text(const char* name, int size)
{
    return {name, FieldType::Text, size};
}

FieldDefinition field(const char* name, FieldType type)
{
    return {name, type, 0};
}

DbError fileError(const std::string& description, const std::error_code& ec)
{
    const int error = ec.value();
    if (error == EACCES || error == EPERM || error == EBUSY || error == EROFS)
        return DbError(fehler::kDateiGesperrt, description, DbError::Cause::Storage);
    return DbError(fehler::kDateiNichtLoeschbar, description, DbError::Cause::Storage);
}

void refuseFolder(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
        throw DbError(fehler::kDateiNichtLoeschbar, "'" + path + "' ist ein Ordner und keine Datenbank.",
                      DbError::Cause::Storage);
}

void removeExisting(const std::string& path)
{
    refuseFolder(path);
    std::error_code ec;
    if (!std::filesystem::remove(path, ec) && ec)
        throw fileError("Die Datei " + path + " kann nicht gelöscht werden (" + ec.message() + ").", ec);
}

// The name under which a replacing database is built beside path: path + "~" + eight random
// hexadecimal digits. Should a file of that name exist, the exclusive creation refuses it.
std::string buildingName(const std::string& path)
{
    std::random_device seed;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "~%08x", static_cast<unsigned>(seed()));
    return path + suffix;
}

} // namespace

const std::vector<TableDefinition>& vereinsdatenbankTabellen()
{
    using T = FieldType;
    static const std::vector<TableDefinition> tables = {
        {"Vereinsliste",
         {field("VereinsID", T::AutoIncrement), text("Ort", 42), text("Vereinsname", 72), text("VereinsAbk", 26),
          text("Vorsitzender", 42), text("GStraße", 42), text("GPlz", 12), text("GOrt", 42), text("GTel", 62),
          text("GeMail", 62), text("GHomePage", 62), text("AName", 42), text("AFunktion", 42),
          text("AStraße", 42), text("APlz", 12), text("AOrt", 42), text("ATel", 62), text("AeMail", 62),
          text("VNummer", 22), text("GName", 42), field("V_update", T::Boolean)},
         {{"IdxVNr", {"VNummer"}}, {"IdxOrt", {"Ort"}}, {"IdxAbk", {"VereinsAbk"}}}},
        {"Schuetzendaten",
         {field("M_ID", T::AutoIncrement), text("M_Titel", 21), text("M_Vorname", 21), text("M_Name", 21),
          field("M_GebDat", T::Date), field("M_Weiblich", T::Boolean), text("M_Straße", 42), text("M_Plz", 12),
          text("M_Ort", 42), text("M_Tel", 62), text("M_Mail", 62), text("M_Hochmeld", 22), text("M_Bemerk", 52),
          text("M_Bild", 255), text("M_Hilfsmittel", 72), field("M_update", T::Boolean)},
         {{"IdxNamen", {"M_Name", "M_Vorname"}}}},
        {"Mitgliedschaft",
         {field("Mgl_ID", T::AutoIncrement), field("Mgl_Schütze_ID", T::Long), field("Mgl_Verein_ID", T::Long),
          text("Mgl_MglNr", 21), field("Mgl_Eintritt", T::Date), field("Mgl_Stamm", T::Boolean),
          field("Mgl_Pass", T::Boolean), field("Mgl_update", T::Boolean)},
         {{"IdxSchID", {"Mgl_Schütze_ID"}}, {"IdxVereinID", {"Mgl_Verein_ID"}}, {"IdxMglNr", {"Mgl_MglNr"}}}},
        {"StartBerecht",
         {field("StB_ID", T::AutoIncrement), field("StB_Mgl_ID", T::Long), text("StB_SpO_Nr", 20),
          text("StB_SpO_Bez", 40), field("StB_update", T::Boolean)},
         {{"IdxVSID", {"StB_Mgl_ID"}}}},
    };
    return tables;
}

void DatenbankErstellen(const std::string& DName)
{
    removeExisting(DName);
    DatenbankNeuErstellen(DName);
}

void DatenbankNeuErstellen(const std::string& DName)
{
    bool created = false;
    try {
        Connection connection = Connection::create(DName);
        created = true;
        Transaction transaction(connection);
        for (const TableDefinition& table : vereinsdatenbankTabellen())
            createTable(connection, table);
        transaction.commit();
        connection.close();
    } catch (...) {
        // The connection is closed by now; take the unfinished file and its journal away.
        if (created) {
            std::error_code ec;
            std::filesystem::remove(DName, ec);
            std::filesystem::remove(DName + "-journal", ec);
        }
        throw;
    }
}

std::string DatenbankDanebenErstellen(const std::string& DName)
{
    refuseFolder(DName);
    const std::string building = buildingName(DName);
    DatenbankNeuErstellen(building);
    return building;
}

void DatenbankEinsetzen(const std::string& neu, const std::string& DName)
{
    refuseFolder(DName);
    // A journal left behind holds what a failed write changed in the file: the next connection
    // takes the changes back with it, so it must stay beside the file under the file's new name,
    // and the journal of the file replaced must not be taken for it. Moved first, it never leaves
    // the file at its new name without it.
    std::error_code ec;
    const std::string journal = neu + "-journal";
    if (std::filesystem::exists(journal, ec))
        std::filesystem::rename(journal, DName + "-journal", ec);
    else
        std::filesystem::remove(DName + "-journal", ec);
    if (!ec)
        std::filesystem::rename(neu, DName, ec);
    if (ec)
        throw fileError("Die Datei " + neu + " kann nicht in " + DName + " umbenannt werden (" + ec.message() + ").",
                        ec);
}

} // namespace clubdb
