#include "batch/ProblemReport.h"

#include "uebersicht/ProblemCsv.h"

#include <iomanip>
#include <system_error>

namespace batch {

namespace fs = std::filesystem;

void printTopReasons(std::ostream& out, const uebersicht::Problemuebersicht& overview)
{
    const auto largest = uebersicht::GroessteGruppen(overview, 5);
    if (largest.empty())
        return;
    const int width = static_cast<int>(std::to_string(largest.front()->anzahl).size());
    out << "Häufigste Gründe:\n";
    for (const uebersicht::Gruppe* group : largest)
        out << "  " << std::setw(width) << group->anzahl << "  " << uebersicht::Schrittname(group->schritt) << ": "
            << group->art << "\n";
}

std::optional<std::string> checkProblemsFile(const fs::path& csv, bool replace, const std::vector<fs::path>& inputs)
{
    std::error_code ec;
    if (!fs::is_directory(csv.parent_path(), ec))
        return "Fehler: Der Ordner der CSV-Datei " + csv.string() + " existiert nicht.\n";
    if (fs::is_directory(csv, ec))
        return "Fehler: " + csv.string() + " ist ein Ordner, keine CSV-Datei.\n";
    const fs::path same = fs::weakly_canonical(csv, ec);
    for (const fs::path& input : inputs) {
        std::error_code other;
        if (same == fs::weakly_canonical(input, other))
            return "Fehler: Die CSV-Datei " + csv.string() + " ist " + input.string() + ", eine der Eingaben.\n";
    }
    if (fs::exists(fs::symlink_status(csv, ec)) && !replace)
        return "Fehler: Die CSV-Datei " + csv.string() + " existiert bereits. Mit --replace wird sie ersetzt.\n";
    return std::nullopt;
}

std::optional<std::string> writeProblemsFile(const fs::path& csv, const uebersicht::Problemuebersicht& overview)
{
    try {
        uebersicht::DateiSchreiben(csv.string(),
                                   uebersicht::ProblemCsv(overview, uebersicht::AlleFundstellen(overview)));
    } catch (const std::system_error& e) {
        return "Fehler: Die CSV-Datei " + csv.string() + " konnte nicht geschrieben werden.\n" + e.code().message() +
               "\n";
    }
    return std::nullopt;
}

} // namespace batch
