#include "DefinitionsdateiHilfe.h"

#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;
using questions::Buttons;

namespace {

// A folder in which not even the administrator may create a file: the kernel's own view of
// its devices. Empty where the system allows it after all.
std::string gesperrterOrdner()
{
    const std::string ordner = "/sys/kernel";
    const std::string probe = ordner + "/tvx-probe.zrv";
    std::FILE* datei = std::fopen(probe.c_str(), "wx");
    if (datei) {
        std::fclose(datei);
        std::remove(probe.c_str());
        return {};
    }
    return errno == EACCES || errno == EPERM || errno == EROFS ? ordner : std::string();
}

} // namespace

TEST(WkAkAnlegen, AFailureIsReportedWithItsNumberAndLeavesEverythingAsItWas)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql({}));
    const std::string vorher = inhalt(u.pfad);
    const std::string ohneOrdner = u.ordner.file("fehlt/wkak.zrv");
    // The path and the start of the message after the path.
    for (const auto& [pfad, meldung] : {std::pair(u.pfad, "3204 ; Die Datenbank " + u.pfad + " existiert bereits."),
                                        std::pair(ohneOrdner, std::string("3044 ; "))}) {
        u.fragen.asked.clear();

        EXPECT_EQ(WkAkAnlegen(pfad, u.umgebung), Ausgang::Weiter);

        ASSERT_EQ(u.titel(), std::vector<std::string>{"Zervik - Fehler"});
        EXPECT_EQ(
            u.fragen.asked[0].text.rfind("Fehler beim Überprüfen / Anlegen der Datei " + pfad + "\r\n" + meldung, 0),
            0u);
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::Ok);
    }
    EXPECT_EQ(inhalt(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("fehlt")));
}

TEST(WkAkAnlegen, ABlankPathMeansWkAkInTheApplicationDataFolder)
{
    Umfeld u;
    std::filesystem::create_directory(u.umgebung.anwendungsdatenOrdner);

    EXPECT_EQ(WkAkAnlegen("  ", u.umgebung), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(spalten(u.umgebung.anwendungsdatenOrdner + "/WkAk.zrv", "Altersklassen").size(), 6u);
}

TEST(WkAkAnlegen, AFolderWithoutPermissionEndsTheProgram)
{
    const std::string ordner = gesperrterOrdner();
    if (ordner.empty())
        GTEST_SKIP() << "Dieses System lässt das Anlegen in jedem Ordner zu.";
    Umfeld u;
    const std::string pfad = ordner + "/wkak.zrv";

    EXPECT_EQ(WkAkAnlegen(pfad, u.umgebung), Ausgang::ProgrammBeenden);

    ASSERT_EQ(u.titel(), std::vector<std::string>{"Zervik - Zugriffsfehler"});
    EXPECT_EQ(u.fragen.asked[0].text, "Die Voreinstellung für Disziplinen und Klassen konnte nicht geöffnet werden.\r\n"
                                      "Bitte stellen sie sicher, dass das Verzeichnis und die Datei " +
                                          pfad + " für den Vollzugriff freigegeben sind!");
    EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::Ok);

    // Loading passes the outcome on at once, without asking anything more.
    u.fragen.asked.clear();
    u.fragen.answers = {Answer::Yes};
    std::string definitionsPfad = pfad;
    Definitionen d;
    EXPECT_EQ(WkAkLaden(d, definitionsPfad, u.umgebung), Ausgang::ProgrammBeenden);
    EXPECT_EQ(u.titel(), (std::vector<std::string>{"Zervik - fehlende Datei", "Zervik - Zugriffsfehler"}));
}
