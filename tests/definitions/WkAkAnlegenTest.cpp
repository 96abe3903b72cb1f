#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;

namespace {

// The names in a folder, sorted.
Lines dateien(const std::filesystem::path& ordner)
{
    Lines namen;
    for (const auto& eintrag : std::filesystem::directory_iterator(ordner))
        namen.push_back(eintrag.path().filename().string());
    std::sort(namen.begin(), namen.end());
    return namen;
}

} // namespace

// A file that exists or a missing folder is reported with its number; nothing changes. A blank
// path means WkAk.zrv in the application data folder.
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
        EXPECT_EQ(u.gefragt()[0].substr(0, erwartet.size()), erwartet);
        EXPECT_TRUE(u.gefragt()[0].ends_with("|Ok"));
    }
    EXPECT_EQ(readBytes(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("fehlt")));

    u.fragen.asked.clear();
    std::filesystem::create_directory(u.umgebung.anwendungsdatenOrdner);
    EXPECT_EQ(WkAkAnlegen("  ", u.umgebung), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(queryRows(u.umgebung.anwendungsdatenOrdner + "/WkAk.zrv", "SELECT count(*) FROM Altersklassen"),
              Lines{"0"});
}

// A folder in which not even the administrator may create a file (the kernel's own view of its
// devices) ends the program; loading passes that on at once.
TEST(WkAkAnlegen, AFolderWithoutPermissionEndsTheProgram)
{
    const std::string pfad = "/sys/kernel/wkak.zrv";
    std::FILE* probe = std::fopen(pfad.c_str(), "wx");
    if (probe) {
        std::fclose(probe);
        std::remove(pfad.c_str());
    }
    if (probe || (errno != EACCES && errno != EPERM && errno != EROFS))
        GTEST_SKIP() << "Dieses System lässt das Anlegen in jedem Ordner zu.";
    Umfeld u;
    EXPECT_EQ(WkAkAnlegen(pfad, u.umgebung), Ausgang::ProgrammBeenden);
    const std::string zugriffsfehler = "Zervik - Zugriffsfehler|Die Voreinstellung für Disziplinen und Klassen "
                                       "konnte nicht geöffnet werden.\r\nBitte stellen sie sicher, dass das "
                                       "Verzeichnis und die Datei " + pfad + " für den Vollzugriff freigegeben sind!|Ok";
    EXPECT_EQ(u.gefragt(), Lines{zugriffsfehler});

    u.fragen.asked.clear();
    u.fragen.answers = {Answer::Yes};
    std::string definitionsPfad = pfad;
    Definitionen d;
    EXPECT_EQ(WkAkLaden(d, definitionsPfad, u.umgebung), Ausgang::ProgrammBeenden);
    EXPECT_EQ(u.gefragt().at(1), zugriffsfehler);
}

// The sample file beside the programs has the layout of a file created by the program and loads
// without a question.
TEST(WkAkAnlegen, TheSampleFileHasTheLayoutOfACreatedFile)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad);
    const std::string beispiel = u.ordner.file("beispiel.zrv");
    std::filesystem::copy_file(TVX_BEISPIEL_WKAK, beispiel);
    const auto layout = [](const std::string& pfad) {
        return queryRows(pfad, "SELECT m.name, p.name, p.type FROM sqlite_schema m, pragma_table_info(m.name) p "
                               "WHERE m.type = 'table'");
    };
    EXPECT_EQ(layout(beispiel), layout(u.pfad));
    u.pfad = beispiel;
    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_GT(d.klassen.anzahl, d.frauen.anzahl + d.maenner.anzahl); // a class of rank 101 or more
    EXPECT_GT(d.disziplinen.anzahl, 10);
}

// Each case leaves the file as it is and says why; the load itself goes on.
TEST(WkAkUmstellen, AFileThatCannotBeRewrittenStaysUntouched)
{
    const std::string vierzig(40, 'L');
    // The name of the file in the folder "v.1" (a "." there gives the file no extension), the
    // name of its second discipline, the reason.
    const std::tuple<std::string, std::string, std::string> faelle[] = {
        {"wkak", "Luftpistole",
         "weil ihr Name keine Endung hat und so keine Sicherungskopie (Endung .alt) angelegt werden kann."},
        {"wkak.alt", "Luftpistole",
         "weil ihre Sicherungskopie (Endung .alt) denselben Namen hätte wie die Datei selbst."},
        {"wkak.zrv", vierzig + "ü",
         "weil der Text \"" + vierzig + "ü\" im Feld Name der Disziplin \"" + vierzig + "ü\" länger als 40 Zeichen ist."},
    };
    for (const auto& [name, disziplin, grund] : faelle) {
        SCOPED_TRACE(name);
        Umfeld u;
        std::filesystem::create_directory(u.ordner.file("v.1"));
        u.pfad = u.ordner.file("v.1/" + name);
        aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10") + alteDisziplinSql(disziplin, "1.11"));
        const std::string alteDatei = readBytes(u.pfad);
        Definitionen d;
        EXPECT_EQ(u.laden(d), Ausgang::Weiter);
        EXPECT_EQ(d.disziplinen.anzahl, 2);
        EXPECT_EQ(u.gefragt(), Lines{"Zervik - Fehler|Die Datei " + u.pfad +
                                     " kann nicht in das aktuelle Format umgestellt werden, " + grund +
                                     "\r\nDie Datei bleibt unverändert.|Ok"});
        EXPECT_EQ(readBytes(u.pfad), alteDatei);
        EXPECT_EQ(dateien(u.ordner.file("v.1")), Lines{name});
    }
}
