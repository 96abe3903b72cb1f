#include "batch/BatchCommand.h"

#include "batch/BatchFrontend.h"
#include "batch/Hilfetext.h"
#include "batch/ProblemReport.h"
#include "clubdb/DatenbankErstellen.h"
#include "clubdb/DbError.h"
#include "import/Exportdateien.h"
#include "import/Exportpruefung.h"
#include "import/Feldhelfer.h"
#include "run/Umsetzungslauf.h"
#include "uebersicht/Logleser.h"

#include <filesystem>

namespace batch {
namespace {

struct Arguments
{
    bool help = false;
    bool version = false;
    bool noLog = false;
    bool replace = false;
    std::string problems; // the CSV file of the problem lines, empty when not wanted
    std::vector<std::string> paths;
};

std::optional<Arguments> parse(const std::vector<std::string>& args)
{
    Arguments parsed;
    for (auto it = args.begin(); it != args.end(); ++it) {
        const std::string& arg = *it;
        if (arg == "--problems") {
            if (++it == args.end() || it->empty())
                return std::nullopt;
            parsed.problems = *it;
        } else if (arg == "--help" || arg == "-h")
            parsed.help = true;
        else if (arg == "--version")
            parsed.version = true;
        else if (arg == "--no-log")
            parsed.noLog = true;
        else if (arg == "--replace")
            parsed.replace = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return std::nullopt;
        else
            parsed.paths.push_back(arg);
    }
    if (!parsed.help && !parsed.version && parsed.paths.size() != 3)
        return std::nullopt;
    return parsed;
}

// The window's folders end in "/", and so do the ones handed to the run.
std::string asFolder(const std::filesystem::path& path)
{
    std::string folder = path.string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// Whether the two paths name one file: the same path, or another way to it (a relative path, a
// link). Paths of which one names no file yet are compared in their normal form.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ecA;
    std::error_code ecB;
    if (std::filesystem::equivalent(a, b, ecA))
        return true;
    const std::filesystem::path normalA = std::filesystem::weakly_canonical(a, ecA);
    const std::filesystem::path normalB = std::filesystem::weakly_canonical(b, ecB);
    return ecA || ecB ? a.lexically_normal() == b.lexically_normal() : normalA == normalB;
}

// Where the club database of an incomplete run is kept beside the old one that stays:
// NAME.unvollständig.EXT, for a name without extension NAME.unvollständig.
std::filesystem::path incompleteName(const std::filesystem::path& database)
{
    const std::filesystem::path name = database.filename();
    return database.parent_path() / (name.stem().string() + ".unvollständig" + name.extension().string());
}

// The run converted into a new file beside the old club database. A complete result takes the old
// one's place; an incomplete one is kept beside it, and messages say where. False when the new
// file could not be renamed: it then stays under the name it was built under, which the messages
// give.
bool putInPlace(const std::string& built, const std::filesystem::path& database, bool complete,
                std::vector<std::string>& messages)
{
    const std::string old = database.string();
    std::string kept = incompleteName(database).string();
    bool placed = true;
    try {
        clubdb::DatenbankEinsetzen(built, complete ? old : kept);
    } catch (const clubdb::DbError& e) {
        messages.push_back(std::to_string(e.number()) + " ; " + e.description());
        kept = built;
        placed = false;
    }
    if (!complete)
        messages.push_back(importer::Vollstaendigkeit::BisherigeBleibt(old, kept));
    else if (!placed)
        messages.push_back("Die bisherige Vereinsdatenbank «" + old + "» bleibt unverändert; die neue steht in «" +
                           built + "».");
    return placed;
}

void printSummary(std::ostream& out, const BatchFrontend& frontend, const run::Umsetzungslauf& lauf,
                  const std::optional<uebersicht::Problemuebersicht>& overview)
{
    const clubdb::VdbInhalt& inhalt = frontend.lastContent();
    out << "Vereine: " << clubdb::Anzeigetext(inhalt.vereine) << "\n"
        << "Schützen: " << clubdb::Anzeigetext(inhalt.schuetzen) << "\n"
        << "Hochmeldungen: " << clubdb::Anzeigetext(inhalt.hochmeldungen) << "\n"
        << "Mitgliedschaften ges.: " << clubdb::Anzeigetext(inhalt.gesMitglieder) << "\n"
        << "Zweit-(Mehrfach-) Mitgliedschaften: " << clubdb::Anzeigetext(inhalt.zweitmitgliedschaften) << "\n"
        << "Startberechtigungen: " << clubdb::Anzeigetext(inhalt.startrechte) << "\n"
        << "Problemzeilen: " << lauf.problemzahl() << "\n";
    if (overview)
        printTopReasons(out, *overview);
    if (lauf.logEin)
        out << "Logdatei: " << lauf.logPfad() << "\n";
}

} // namespace

int run(const std::vector<std::string>& args, const Environment& environment, std::ostream& out, std::ostream& err)
{
    const std::optional<Arguments> arguments = parse(args);
    if (!arguments) {
        err << kUsage;
        return kBadInput;
    }
    if (arguments->help) {
        out << kUsage;
        return kOk;
    }
    if (arguments->version) {
        out << "tvx-vidazer-batch Version " TVX_VERSION "\n";
        return kOk;
    }

    std::error_code ec;
    const std::filesystem::path exportFolder = std::filesystem::absolute(arguments->paths[0], ec);
    if (ec || !std::filesystem::is_directory(exportFolder, ec)) {
        err << "Fehler: Der Exportordner " << arguments->paths[0] << " wurde nicht gefunden.\n";
        return kBadInput;
    }
    const importer::Exportdateien dateien = importer::ExportdateienSuchen(exportFolder.string());
    if (dateien.keine()) {
        err << "Hinweis: In diesem Ordner wurden keine Exportdaten gefunden!\n";
        return kBadInput;
    }
    if (!dateien.vereine.gefunden || !dateien.mitglieder.gefunden) {
        err << "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\n"
               "Für die Erstellung der Datenbank werden mindestens die Vereins- und Mitgliederdaten benötigt!\n";
        return kBadInput;
    }
    // A file re-saved by a spreadsheet program, or last season's export beside this one: the
    // window asks about the second, a script cannot be asked.
    const std::optional<std::string> tabelle = importer::TabellenMeldung(exportFolder.string(), dateien);
    const std::optional<std::string> mehrere = importer::MehrereDateien(dateien, "\n");
    if (tabelle || mehrere) {
        err << "Fehler: " << (tabelle ? *tabelle : *mehrere + "\nBitte nur einen Export im Ordner lassen.") << "\n";
        return kBadInput;
    }

    const std::filesystem::path database = std::filesystem::absolute(arguments->paths[1], ec);
    if (ec || !std::filesystem::is_directory(database.parent_path(), ec)) {
        err << "Fehler: Der Ordner der Vereinsdatenbank " << arguments->paths[1] << " existiert nicht.\n";
        return kBadInput;
    }
    std::string definitionsPfad = std::filesystem::absolute(arguments->paths[2], ec).string();
    if (sameFile(database, definitionsPfad)) {
        err << "Fehler: Die Vereinsdatenbank " << database.string()
            << " ist zugleich die Datei der Wettkampfdefinitionen. Bitte geben Sie für die Vereinsdatenbank eine "
               "andere Datei an.\n";
        return kBadInput;
    }
    // An older definitions file is rewritten and kept as its backup, the name up to its last "."
    // + "alt": replacing a club database of that name would throw the backup away.
    const std::size_t punkt = definitionsPfad.rfind('.');
    const std::string sicherung = punkt == std::string::npos ? "" : definitionsPfad.substr(0, punkt + 1) + "alt";
    if (arguments->replace && !sicherung.empty() && sameFile(database, sicherung)) {
        err << "Fehler: Die Vereinsdatenbank " << database.string()
            << " ist die Sicherungskopie der Wettkampfdefinitionen. Bitte geben Sie für die Vereinsdatenbank eine "
               "andere Datei an.\n";
        return kBadInput;
    }
    // An incomplete result of --replace is kept as NAME.unvollständig.EXT, replacing a file of that
    // name: it must not be the definitions file or its backup.
    const std::filesystem::path unvollstaendig = incompleteName(database);
    if (arguments->replace &&
        (sameFile(unvollstaendig, definitionsPfad) || (!sicherung.empty() && sameFile(unvollstaendig, sicherung)))) {
        err << "Fehler: Eine unvollständige Umsetzung würde als " << unvollstaendig.string()
            << " die Wettkampfdefinitionen oder ihre Sicherungskopie ersetzen. Bitte geben Sie für die "
               "Vereinsdatenbank eine andere Datei an.\n";
        return kBadInput;
    }
    const auto status = std::filesystem::symlink_status(database, ec);
    if (std::filesystem::is_directory(status)) {
        err << "Fehler: " << database.string() << " ist ein Ordner und keine Vereinsdatenbank.\n";
        return kBadInput;
    }
    if (std::filesystem::exists(status) && !arguments->replace) {
        err << "Fehler: Die Vereinsdatenbank " << database.string()
            << " existiert bereits. Mit --replace wird sie gelöscht und neu angelegt.\n";
        return kBadInput;
    }
    const std::filesystem::path problems =
        arguments->problems.empty() ? std::filesystem::path() : std::filesystem::absolute(arguments->problems, ec);
    if (!problems.empty()) {
        // The problem lines are read from the log after the run.
        const std::vector<std::filesystem::path> inputs{database,
                                                        std::filesystem::path(definitionsPfad),
                                                        exportFolder / dateien.kreise.name,
                                                        exportFolder / dateien.vereine.name,
                                                        exportFolder / dateien.mitglieder.name,
                                                        exportFolder / dateien.startrechte.name};
        const std::optional<std::string> error =
            arguments->noLog ? "Fehler: --problems liest die Logdatei und geht daher nicht zusammen mit --no-log.\n"
                             : checkProblemsFile(problems, arguments->replace, inputs);
        if (error) {
            err << *error;
            return kBadInput;
        }
    }

    run::Laufeingaben eingaben;
    eingaben.exportOrdner = asFolder(exportFolder);
    eingaben.dateien = dateien;
    eingaben.vdbPfad = database.string();
    eingaben.vdbOrdner = importer::OrdnerVonPfad(eingaben.vdbPfad);
    eingaben.programmOrdner = environment.programFolder;
    eingaben.anwendungsdatenOrdner = environment.dataFolder;

    BatchFrontend frontend(err, environment.terminal, environment.interrupted);
    run::Umsetzungslauf lauf(frontend);
    lauf.logEin = !arguments->noLog;
    if (environment.openLog)
        lauf.logOeffnen = environment.openLog;
    frontend.attach(lauf);

    // Everything that can refuse the run is checked before the club database is touched: a
    // refused run leaves an existing one exactly as it was.
    const run::Laufende vorbereitet = lauf.vorbereiten(eingaben, definitionsPfad);
    if (vorbereitet != run::Laufende::Bereit)
        return vorbereitet == run::Laufende::DefinitionenLeer ? kBadInput : kNotWritable;
    // An existing club database gives way only to a complete one: the run converts into a new file
    // beside it. The log goes into the folder of the club database all the same.
    const bool replacing = arguments->replace && std::filesystem::exists(status);
    try {
        if (replacing)
            eingaben.vdbPfad = clubdb::DatenbankDanebenErstellen(database.string());
        else
            clubdb::DatenbankNeuErstellen(eingaben.vdbPfad);
    } catch (const clubdb::DbError& e) {
        lauf.verwerfen();
        err << "Fehler: Die Vereinsdatenbank " << database.string() << " konnte nicht angelegt werden.\n"
            << e.number() << " ; " << e.description() << "\n";
        return e.number() == clubdb::fehler::kDatenbankExistiert ? kBadInput : kNotWritable;
    }
    lauf.ausfuehren(eingaben);
    frontend.finishProgress();
    const importer::Vollstaendigkeit& stand = lauf.vollstaendigkeit();
    std::vector<std::string> incomplete = stand.meldungen(true);
    const bool placed = !replacing || putInPlace(eingaben.vdbPfad, database, stand.vollstaendig(), incomplete);

    std::optional<uebersicht::Problemuebersicht> overview;
    if (lauf.logEin) {
        try {
            overview = uebersicht::UebersichtBilden(uebersicht::LogdateiLesen(lauf.logPfad()));
        } catch (const std::system_error& e) {
            err << "Fehler: Die Logdatei " << lauf.logPfad() << " konnte nicht gelesen werden.\n"
                << e.code().message() << "\n";
        }
    }
    printSummary(out, frontend, lauf, overview);
    bool problemsWritten = true;
    if (!problems.empty()) {
        const std::optional<std::string> error =
            overview ? writeProblemsFile(problems, *overview)
                     : "Fehler: Die CSV-Datei " + problems.string() +
                           " wurde nicht geschrieben, weil die Logdatei nicht gelesen werden konnte.\n";
        if (error)
            err << *error;
        else
            out << "CSV-Datei: " << problems.string() << "\n";
        problemsWritten = !error;
    }
    for (std::size_t i = 0; i < incomplete.size(); ++i)
        err << (i == 0 ? "Fehler: " : "") << incomplete[i] << "\n";
    const bool storageFailed = stand.nichtGespeichert() > 0 || !stand.datenbankFertig();
    if (!lauf.logFehlerfrei() || frontend.errorDuringRun() || !problemsWritten || storageFailed || !placed)
        return kNotWritable;
    if (lauf.abbruchAngefordert())
        return kInterrupted;
    return kOk;
}

} // namespace batch
