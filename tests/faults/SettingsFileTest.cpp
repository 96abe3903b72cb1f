// The settings file of the window holds garbage, lines of any length or no line ends at all (it
// lies in a shared folder, and people edit it by hand). Reading it must never fail, and nothing
// read from it may be taken for a folder or a file that is not there.

#include "app/Einstellungen.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace fenster;
using namespace std::string_literals;

namespace {

std::vector<std::string> values(const Einstellungen& e)
{
    return {e.vdbOrdner, e.vergleichsdatenbank, e.exportOrdner, e.definitionsPfad};
}

} // namespace

TEST(SettingsFileTest, GarbageLongLinesAndMissingLineEndsAreReadWithoutHarm)
{
    std::mt19937 random(1905);
    std::string garbage(64 * 1024, '\0');
    for (char& b : garbage)
        b = static_cast<char>(random() & 0xFF);
    const std::string longLine(10 * 1024 * 1024, 'x');
    TempFolder folder;
    const std::string existing = folder.path().string();

    struct Row
    {
        const char* name;
        std::string bytes;
        std::vector<std::string> read; // the four values
    };
    const std::vector<Row> rows = {
        {"no line ends", existing + "/" + existing, {existing + "/" + existing, "", "", ""}},
        {"a long first line", longLine + "\r\nvergleich\r\n\r\n" + existing, {longLine, "vergleich", "", existing}},
        {"line ends of every kind", "a\rb\nc\r\nd\n\re", {"a", "b", "c", "d"}},
        {"only line ends", std::string(1000, '\n'), {"", "", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(values(EinstellungenLesen(row.bytes)), row.read);
    }

    // Whatever garbage was read, nothing of it is kept as a folder or a file, and writing it
    // back and reading it again gives the same values.
    for (const std::string& bytes : {garbage, longLine, existing + "/" + existing}) {
        const Einstellungen read = EinstellungenLesen(bytes);
        const Einstellungen kept = EinstellungenPruefen(read);
        EXPECT_EQ(kept.vdbOrdner, "");
        EXPECT_EQ(kept.exportOrdner, "");
        EXPECT_EQ(kept.definitionsPfad, "");
        const Einstellungen again = EinstellungenLesen(EinstellungenSchreiben(read));
        EXPECT_EQ(again.vdbOrdner, read.vdbOrdner);
        EXPECT_EQ(again.definitionsPfad, read.definitionsPfad);
    }
}

// A NUL byte ends a path for the system: "/etc/passwd\0.zrv" names /etc/passwd there. Such a
// value must not pass for the folder or file before the NUL.
TEST(SettingsFileTest, APathHoldingANulByteIsNotKept)
{
    TempFolder folder;
    const std::string existing = folder.path().string();
    const std::string file = folder.file("wkak.zrv");
    std::ofstream(file) << "x";
    const Einstellungen kept = EinstellungenPruefen({existing + "\0anders"s, "", existing + "\0/"s, file + "\0.alt"s});
    EXPECT_EQ(values(kept), (std::vector<std::string>{"", "", "", ""}));
}
