#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

using namespace definitions;
using namespace testhilfe;

// A file that exists or a missing folder is reported with its number; nothing changes.
TEST(WkAkAnlegen, AFailureIsReportedWithItsNumberAndLeavesEverythingAsItWas)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql());
    const std::string vorher = readBytes(u.pfad);
    const std::string ohneOrdner = u.ordner.file("fehlt/wkak.zrv");
    for (const auto& [pfad, meldung] : {std::pair(u.pfad, "3204 ; Die Datenbank " + u.pfad + " existiert bereits."),
                                        std::pair(ohneOrdner, std::string("3044 ; "))}) {
        u.fragen.asked.clear();
        EXPECT_EQ(WkAkAnlegen(pfad, u.umgebung), Ausgang::Weiter);
        const std::string erwartet = "Zervik - Fehler|Fehler beim Überprüfen / Anlegen der Datei " + pfad + "\r\n" + meldung;
        ASSERT_EQ(u.gefragt().size(), 1u);
        EXPECT_TRUE(u.gefragt()[0].starts_with(erwartet) && u.gefragt()[0].ends_with("|Ok")) << u.gefragt()[0];
    }
    EXPECT_EQ(readBytes(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("fehlt")));
}

// Each case leaves the file as it is and says why; the load itself goes on. A folder where the
// backup goes is the user's, never the old backup: it is kept, and the rewrite ends quietly.
TEST(WkAkUmstellen, AFileThatCannotBeRewrittenStaysUntouched)
{
    const std::string vierzig(40, 'L');
    // The name of the file in the folder "v.1" (a "." there gives the file no extension), the
    // name of its second discipline, the reason (none: an empty folder wkak.alt stands beside it).
    const std::tuple<std::string, std::string, std::string> faelle[] = {
        {"wkak", "Luftpistole",
         "weil ihr Name keine Endung hat und so keine Sicherungskopie (Endung .alt) angelegt werden kann."},
        {"wkak.alt", "Luftpistole",
         "weil ihre Sicherungskopie (Endung .alt) denselben Namen hätte wie die Datei selbst."},
        {"wkak.zrv", vierzig + "ü",
         "weil der Text \"" + vierzig + "ü\" im Feld Name der Disziplin \"" + vierzig + "ü\" länger als 40 Zeichen ist."},
        {"wkak.zrv", "Luftpistole", ""},
    };
    for (const auto& [name, disziplin, grund] : faelle) {
        SCOPED_TRACE(name);
        Umfeld u;
        std::filesystem::create_directory(u.ordner.file("v.1"));
        u.pfad = u.ordner.file("v.1/" + name);
        aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + alteDisziplinSql(disziplin, "1.11"));
        const std::string alteDatei = readBytes(u.pfad);
        const bool ordner = grund.empty() && std::filesystem::create_directory(u.ordner.file("v.1/wkak.alt"));
        Definitionen d;
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        EXPECT_EQ(d.disziplinen.anzahl, 2);
        EXPECT_EQ(u.gefragt(), ordner ? Lines{}
                                      : Lines{"Zervik - Fehler|Die Datei " + u.pfad +
                                              " kann nicht in das aktuelle Format umgestellt werden, " + grund +
                                              "\r\nDie Datei bleibt unverändert.|Ok"});
        EXPECT_EQ(readBytes(u.pfad), alteDatei);
        // no backup; the folder is kept
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(u.ordner.file("v.1")), {}), 1 + ordner);
    }
}
