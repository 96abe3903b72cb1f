#include "batch/BatchCommand.h"

namespace batch {
namespace {

const char* const kUsage =
    "Aufruf: tvx-vidazer-batch [--no-log] [--replace] EXPORTORDNER VEREINSDATENBANK WETTKAMPFDEFINITIONEN\n"
    "\n"
    "Setzt die Exportdateien der Mitgliederverwaltung (Vereine, Mitglieder, Startrechte) aus\n"
    "EXPORTORDNER in die Vereinsdatenbank VEREINSDATENBANK um.\n"
    "\n"
    "  --no-log    keine Logdatei schreiben\n"
    "  --replace   eine vorhandene Vereinsdatenbank löschen und neu anlegen\n"
    "  --help      diese Hilfe zeigen\n";

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kOk;
    }
    err << kUsage;
    return kBadInput;
}

} // namespace batch
