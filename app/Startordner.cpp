#include "app/Startordner.h"

#include <filesystem>

namespace fenster {
namespace {

bool ordnerVorhanden(const std::filesystem::path& ordner)
{
    std::error_code ec;
    return std::filesystem::is_directory(ordner, ec);
}

std::filesystem::path ohneSchraegstrich(const std::string& ordner)
{
    std::filesystem::path pfad(ordner);
    return pfad.has_filename() || pfad == pfad.root_path() ? pfad : pfad.parent_path();
}

} // namespace

std::string Startordner(std::initializer_list<std::string> wuensche, const std::string& heimordner)
{
    const std::string* erster = nullptr;
    for (const std::string& wunsch : wuensche) {
        if (wunsch.empty())
            continue;
        if (ordnerVorhanden(wunsch))
            return ohneSchraegstrich(wunsch).string();
        if (!erster)
            erster = &wunsch;
    }
    if (erster) {
        // A relative path would be taken from the program's working folder, and the root of the
        // file system is no place for a club's files: the home folder serves better than either.
        std::filesystem::path pfad = ohneSchraegstrich(*erster);
        while (pfad.is_absolute() && pfad.has_relative_path()) {
            pfad = pfad.parent_path();
            if (pfad.has_relative_path() && ordnerVorhanden(pfad))
                return pfad.string();
        }
    }
    return heimordner;
}

} // namespace fenster
