#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace definitions;
using namespace testhilfe;

namespace {

std::vector<std::string> dateien(const std::filesystem::path& ordner)
{
    std::vector<std::string> namen;
    for (const auto& eintrag : std::filesystem::directory_iterator(ordner))
        namen.push_back(eintrag.path().filename().string());
    std::sort(namen.begin(), namen.end());
    return namen;
}

} // namespace

TEST(WkAkUmstellen, AFileWithAnotherExtensionIsRewrittenInPlaceWithItsBackup)
{
    Umfeld u;
    u.pfad = u.ordner.file("verband.defs");
    aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10"));
    const std::string alteDatei = inhalt(u.pfad);

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(dateien(u.ordner.path()), (std::vector<std::string>{"verband.alt", "verband.defs"}));
    EXPECT_EQ(inhalt(u.ordner.file("verband.alt")), alteDatei);
    EXPECT_EQ(spalten(u.pfad, "Disziplinen").size(), 31u);
}

// Each case leaves the file as it is and says why; the load itself goes on.
TEST(WkAkUmstellen, AFileThatCannotBeRewrittenStaysUntouched)
{
    const std::string vierzig(40, 'L');
    struct Fall
    {
        std::string name;      // in the folder "v.1": a "." there gives the file no extension
        std::string disziplin; // the name of the second discipline
        std::string grund;
    };
    const std::vector<Fall> faelle = {
        {"wkak", "Luftpistole",
         "weil ihr Name keine Endung hat und so keine Sicherungskopie (Endung .alt) angelegt werden kann."},
        {"wkak.alt", "Luftpistole",
         "weil ihre Sicherungskopie (Endung .alt) denselben Namen hätte wie die Datei selbst."},
        {"wkak.zrv", vierzig + "ü",
         "weil der Text \"" + vierzig + "ü\" im Feld Name der Disziplin \"" + vierzig +
             "ü\" länger als 40 Zeichen ist."},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Umfeld u;
        std::filesystem::create_directory(u.ordner.file("v.1"));
        u.pfad = u.ordner.file("v.1/" + f.name);
        aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + alteDisziplinSql(f.disziplin, "1.11"));
        const std::string alteDatei = inhalt(u.pfad);

        Definitionen d;
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);

        EXPECT_EQ(d.disziplinen.anzahl, 2);
        ASSERT_EQ(u.titel(), std::vector<std::string>{"Zervik - Fehler"});
        EXPECT_EQ(u.fragen.asked[0].text, "Die Datei " + u.pfad +
                                              " kann nicht in das aktuelle Format umgestellt werden, " + f.grund +
                                              "\r\nDie Datei bleibt unverändert.");
        EXPECT_EQ(inhalt(u.pfad), alteDatei);
        EXPECT_EQ(dateien(u.ordner.path()), std::vector<std::string>{"v.1"});
        EXPECT_EQ(dateien(u.ordner.file("v.1")), std::vector<std::string>{f.name});
    }
}

TEST(WkAkUmstellen, ATextThatFillsItsColumnIsKept)
{
    const std::string vierzig(40, 'L');
    Umfeld u;
    aeltereDatei(u.pfad, alteDisziplinSql(" " + vierzig + " ", "1.10"));

    Definitionen d;
    u.laden(d);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_TRUE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    Definitionen wieder;
    u.laden(wieder);
    EXPECT_EQ(wieder.disziplinen.eintraege[0].Name, vierzig);
}
