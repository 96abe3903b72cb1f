#include "DefinitionsdateiHilfe.h"

#include "clubdb/DbError.h"
#include "clubdb/Statement.h"
#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

using namespace definitions;
using namespace testhilfe;
using questions::Answer;
using questions::Buttons;

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

// Whether the file takes the text into the column under its rules; nothing stays stored.
bool nimmtAn(const std::string& pfad, const std::string& tabelle, const std::string& spalte, std::size_t laenge)
{
    clubdb::Connection datei = clubdb::Connection::open(pfad);
    datei.execute("SAVEPOINT probe");
    bool angenommen = true;
    try {
        clubdb::Statement einfuegen(datei, "INSERT INTO \"" + tabelle + "\" (\"" + spalte + "\") VALUES (?)");
        einfuegen.bind(1, std::string(laenge, laenge == 1 ? ' ' : 'x'));
        einfuegen.execute();
    } catch (const clubdb::DbError&) {
        angenommen = false;
    }
    datei.execute("ROLLBACK TO probe; RELEASE probe");
    return angenommen;
}

} // namespace

// A file that exists or a missing folder is reported with its number; nothing changes. A blank
// path means WkAk.zrv in the application data folder.
TEST(WkAkAnlegen, AFailureIsReportedWithItsNumberAndLeavesEverythingAsItWas)
{
    Umfeld u;
    aktuelleDatei(u, u.pfad, disziplinSql({}));
    const std::string vorher = readBytes(u.pfad);
    const std::string ohneOrdner = u.ordner.file("fehlt/wkak.zrv");
    for (const auto& [pfad, meldung] : {std::pair(u.pfad, "3204 ; Die Datenbank " + u.pfad + " existiert bereits."),
                                        std::pair(ohneOrdner, std::string("3044 ; "))}) {
        u.fragen.asked.clear();
        EXPECT_EQ(WkAkAnlegen(pfad, u.umgebung), Ausgang::Weiter);
        ASSERT_EQ(u.titel(), Lines{"Zervik - Fehler"});
        EXPECT_EQ(u.text(0).rfind("Fehler beim Überprüfen / Anlegen der Datei " + pfad + "\r\n" + meldung, 0), 0u);
        EXPECT_EQ(u.fragen.asked[0].buttons, Buttons::Ok);
    }
    EXPECT_EQ(readBytes(u.pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("fehlt")));

    u.fragen.asked.clear();
    std::filesystem::create_directory(u.umgebung.anwendungsdatenOrdner);
    EXPECT_EQ(WkAkAnlegen("  ", u.umgebung), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(spalten(u.umgebung.anwendungsdatenOrdner + "/WkAk.zrv", "Altersklassen").size(), 6u);
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
    ASSERT_EQ(u.titel(), Lines{"Zervik - Zugriffsfehler"});
    EXPECT_EQ(u.text(0), "Die Voreinstellung für Disziplinen und Klassen konnte nicht geöffnet werden.\r\n"
                         "Bitte stellen sie sicher, dass das Verzeichnis und die Datei " + pfad +
                         " für den Vollzugriff freigegeben sind!");

    u.fragen.asked.clear();
    u.fragen.answers = {Answer::Yes};
    std::string definitionsPfad = pfad;
    Definitionen d;
    EXPECT_EQ(WkAkLaden(d, definitionsPfad, u.umgebung), Ausgang::ProgrammBeenden);
    EXPECT_EQ(u.titel(), (Lines{"Zervik - fehlende Datei", "Zervik - Zugriffsfehler"}));
}

// The sample file beside the programs loads without a question and has the layout and the
// text rules of an empty file created by the program.
TEST(WkAkAnlegen, TheSampleFileHasTheLayoutAndRulesOfACreatedFile)
{
    Umfeld u;
    const std::string beispiel = u.ordner.file("beispiel.zrv");
    std::filesystem::copy_file(TVX_BEISPIEL_WKAK, beispiel);
    aktuelleDatei(u, u.pfad);
    for (const char* tabelle : {"Disziplinen", "Altersklassen"}) {
        const auto erwartet = spalten(u.pfad, tabelle);
        const auto vorhanden = spalten(beispiel, tabelle);
        ASSERT_EQ(vorhanden.size(), erwartet.size()) << tabelle;
        for (std::size_t i = 0; i < erwartet.size(); ++i) {
            const auto& [name, typ] = erwartet[i];
            EXPECT_EQ(std::tuple(vorhanden[i].name, vorhanden[i].declaredType), std::tuple(name, typ));
            if (typ.rfind("VARCHAR(", 0) != 0)
                continue;
            const std::size_t groesse = std::stoul(typ.substr(8));
            for (const std::size_t laenge : {0ul, 1ul, groesse, groesse + 1})
                EXPECT_EQ(nimmtAn(beispiel, tabelle, name, laenge), nimmtAn(u.pfad, tabelle, name, laenge))
                    << name << ", Text der Länge " << laenge;
        }
    }
    u.pfad = beispiel;
    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_GT(d.klassen.anzahl, d.frauen.anzahl + d.maenner.anzahl); // a class of rank 101 or more
    EXPECT_GT(d.disziplinen.anzahl, 10);
}

TEST(WkAkUmstellen, AFileWithAnotherExtensionIsRewrittenInPlaceWithItsBackup)
{
    Umfeld u;
    u.pfad = u.ordner.file("verband.defs");
    aeltereDatei(u.pfad, alteDisziplinSql("Luftgewehr", "1.10"));
    const std::string alteDatei = readBytes(u.pfad);
    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(dateien(u.ordner.path()), (Lines{"verband.alt", "verband.defs"}));
    EXPECT_EQ(readBytes(u.ordner.file("verband.alt")), alteDatei);
    EXPECT_EQ(spalten(u.pfad, "Disziplinen").size(), 31u);

    // A text that fills its column is kept without the blank.
    const std::string vierzig(40, 'L');
    aeltereDatei(u.pfad = u.ordner.file("voll.zrv"), alteDisziplinSql(" " + vierzig + " ", "1.10"));
    u.laden(d);
    u.laden(d);
    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_EQ(queryRows(u.pfad, "SELECT Name FROM Disziplinen"), Lines{vierzig});
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
        ASSERT_EQ(u.titel(), Lines{"Zervik - Fehler"});
        EXPECT_EQ(u.text(0), "Die Datei " + u.pfad + " kann nicht in das aktuelle Format umgestellt werden, " + grund +
                                 "\r\nDie Datei bleibt unverändert.");
        EXPECT_EQ(readBytes(u.pfad), alteDatei);
        EXPECT_EQ(dateien(u.ordner.file("v.1")), Lines{name});
    }
}
