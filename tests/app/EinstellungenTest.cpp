// The settings file lies in a shared folder, and people edit it by hand: it may hold garbage,
// lines of any length or no line ends at all. Reading it must never fail, and nothing read from
// it may be taken for a folder or a file that is not there.

#include "app/Einstellungen.h"
#include "app/Einstellungsdatei.h"
#include "support/TempFolder.h"

#include <QTest>

#include <filesystem>
#include <fstream>

using namespace fenster;
using namespace std::string_literals;

namespace {

QStringList zeilen(const Einstellungen& e)
{
    return {QString::fromStdString(e.vdbOrdner), QString::fromStdString(e.vergleichsdatenbank),
            QString::fromStdString(e.exportOrdner), QString::fromStdString(e.definitionsPfad)};
}

const std::string kLangeZeile(10 * 1024 * 1024, 'x');

} // namespace

class EinstellungenTest : public QObject
{
    Q_OBJECT

private slots:
    void liestKuerzereUndFremdeDateien_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("leer") << QByteArray() << QStringList{"", "", "", ""};
        QTest::newRow("zwei Zeilen") << QByteArray("/a/\r\n/b.vdb\r\n") << QStringList{"/a/", "/b.vdb", "", ""};
        QTest::newRow("ohne Zeilenende") << QByteArray("/a/\r\n\r\n\r\n/d.zrv") << QStringList{"/a/", "", "", "/d.zrv"};
        QTest::newRow("nur LF") << QByteArray("/a/\n/b\n/c/\n/d") << QStringList{"/a/", "/b", "/c/", "/d"};
        QTest::newRow("nur CR") << QByteArray("/a/\r\r\r/d") << QStringList{"/a/", "", "", "/d"};
        QTest::newRow("gemischt") << QByteArray("a\rb\nc\r\nd\n\re") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("nur Zeilenenden") << QByteArray(1000, '\n') << QStringList{"", "", "", ""};
        QTest::newRow("mehr als vier") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n") << QStringList{"1", "2", "3", "4"};
        QTest::newRow("lange Zeile") << QByteArray::fromStdString(kLangeZeile + "\r\nv\r\n\r\n/d")
                                     << QStringList{QString::fromStdString(kLangeZeile), "v", "", "/d"};
    }

    void liestKuerzereUndFremdeDateien()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QStringList, zeilen);
        QCOMPARE(::zeilen(EinstellungenLesen(inhalt.toStdString())), zeilen);
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
            // All there; the comparison database is kept even when it has gone.
            {{o + "/", "/gibt/es/nicht.vdb", o + "/Export/", wkak},
             {o + "/", "/gibt/es/nicht.vdb", o + "/Export/", wkak}},
            // A hand-edited folder without its closing "/" names the same folder.
            {{o, "", o + "/Export", ""}, {o + "/", "", o + "/Export/", ""}},
            {{o + "/geloescht/", "  ", o + "/weg/", tmp.file("fehlt.zrv")}, {"", "  ", "", ""}},
            // A folder where a file is expected, and the other way round, count as missing.
            {{wkak + "/", "", "", o + "/Export"}, {}},
            {{"   ", "", "", "   "}, {}},
            {{o + "/" + o, "", o + "/" + o, ""}, {}},
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

QTEST_GUILESS_MAIN(EinstellungenTest)
#include "EinstellungenTest.moc"
