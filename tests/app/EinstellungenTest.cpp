// The settings file lies in a shared folder, and people edit it by hand: it may hold garbage,
// lines of any length or no line ends at all. Reading it must never fail, and nothing read from
// it may be taken for a folder or a file that is not there.

#include "app/Einstellungen.h"
#include "app/Einstellungsdatei.h"
#include "support/OwnHome.h"
#include "support/TempFolder.h"

#include <QTest>

#include <filesystem>
#include <fstream>

using namespace fenster;
using namespace std::string_literals;

namespace {

std::string zeilen(const Einstellungen& e)
{
    return e.vdbOrdner + "|" + e.vergleichsdatenbank + "|" + e.exportOrdner + "|" + e.definitionsPfad;
}

const std::string kLangeZeile(10 * 1024 * 1024, 'x');

} // namespace

class EinstellungenTest : public QObject
{
    Q_OBJECT

private slots:
    void liestKuerzereUndFremdeDateien()
    {
        const std::pair<std::string, std::string> faelle[] = {
            {"", "|||"},
            {"/a/\r\n\r\n\r\n/d.zrv", "/a/|||/d.zrv"}, // no line end after the last line
            {"a\rb\nc\r\nd\n\re", "a|b|c|d"},          // every kind of line end, and more than four lines
            {kLangeZeile + "\r\nv\r\n\r\n/d", kLangeZeile + "|v||/d"},
        };
        for (const auto& [inhalt, erwartet] : faelle)
            QCOMPARE(zeilen(EinstellungenLesen(inhalt)), erwartet);
    }

    // A folder or file that has gone since the last start is dropped, so that no dialog starts
    // in a folder that is not there and no run loads a definitions file that is not there.
    void behaeltNurWasNochDaIst()
    {
        TempFolder tmp;
        const std::string o = tmp.path().string();
        const std::string wkak = tmp.file("wkak.zrv");
        std::filesystem::create_directory(tmp.path() / "Export");
        std::ofstream(wkak) << "x";
        const struct
        {
            Einstellungen gelesen, behalten;
        } faelle[] = {
            // A hand-edited folder without its closing "/" names the same folder.
            {{o, "", o + "/Export", ""}, {o + "/", "", o + "/Export/", ""}},
            {{o + "/geloescht/", "  ", o + "/weg/", tmp.file("fehlt.zrv")}, {"", "  ", "", ""}},
            // A folder where a file is expected, and the other way round, count as missing.
            {{wkak + "/", "", "", o + "/Export"}, {}},
            // A NUL byte ends a path for the system: "/etc/passwd\0.zrv" names /etc/passwd there.
            {{o + "\0anders"s, "", o + "\0/"s, wkak + "\0.alt"s}, {}},
        };
        for (const auto& fall : faelle)
            QCOMPARE(zeilen(EinstellungenPruefen(fall.gelesen)), zeilen(fall.behalten));
    }

    void dateiWirdGanzErsetztUndNieHalbGeschrieben()
    {
        TempFolder tmp;
        const std::string pfad = tmp.file("TVX_Vidazer.dir");
        QVERIFY(!EinstellungsdateiLesen(pfad));
        QVERIFY(EinstellungsdateiSchreiben(pfad, "alt\r\n\r\n\r\nlang und länger\r\n"));
        QVERIFY(EinstellungsdateiSchreiben(pfad, "neu\r\n\r\n\r\n\r\n"));
        QCOMPARE(EinstellungsdateiLesen(pfad).value_or(""), std::string("neu\r\n\r\n\r\n\r\n"));
        // No temporary file is left beside it.
        QCOMPARE(std::distance(std::filesystem::directory_iterator(tmp.path()), std::filesystem::directory_iterator()),
                 1);

        QVERIFY(!EinstellungsdateiSchreiben(tmp.file("fehlt/TVX_Vidazer.dir"), "x"));
        QVERIFY(!std::filesystem::exists(tmp.file("fehlt")));
        // A folder in the way cannot be replaced by the settings file.
        std::filesystem::create_directory(tmp.file("ordner.dir"));
        QVERIFY(!EinstellungsdateiSchreiben(tmp.file("ordner.dir"), "x"));
        QVERIFY(std::filesystem::is_directory(tmp.file("ordner.dir")));
    }
};

TVX_QTEST_MAIN(EinstellungenTest, QCoreApplication)
#include "EinstellungenTest.moc"
