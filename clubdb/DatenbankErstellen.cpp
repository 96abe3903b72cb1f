#include "clubdb/DatenbankErstellen.h"

#include "clubdb/DbError.h"

#include <cerrno>
#include <filesystem>

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

void removeExisting(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (!std::filesystem::exists(status))
        return;
    if (std::filesystem::is_directory(status))
        throw DbError(fehler::kDateiNichtLoeschbar, "'" + path + "' ist ein Ordner und keine Datenbank.");
    if (!std::filesystem::remove(path, ec) && ec) {
        const int error = ec.value();
        const std::string description = "Die Datei " + path + " kann nicht gelöscht werden (" + ec.message() + ").";
        if (error == EACCES || error == EPERM || error == EBUSY || error == EROFS)
            throw DbError(fehler::kDateiGesperrt, description);
        throw DbError(fehler::kDateiNichtLoeschbar, description);
    }
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

} // namespace clubdb
