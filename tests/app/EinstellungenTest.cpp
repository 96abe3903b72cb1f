#include "app/Einstellungen.h"
#include "app/Einstellungsdatei.h"
#include "support/TempFolder.h"

#include <QTest>

#include <filesystem>
#include <fstream>

using namespace fenster;

namespace {

std::string bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

class EinstellungenTest : public QObject
{
    Q_OBJECT

private slots:
    void schreibtVierZeilenInWindows1252MitDrittenZeileLeer()
    {
        const Einstellungen e{"/home/verein/Datenbanken/", "/home/verein/Abgleich Müller.vdb", "/home/verein/Export/",
                              "/opt/zervik/wkak.zrv"};
        const std::string inhalt = EinstellungenSchreiben(e);
        QCOMPARE(inhalt, std::string("/home/verein/Datenbanken/\r\n/home/verein/Abgleich M\xFCller.vdb\r\n\r\n"
                                     "/opt/zervik/wkak.zrv\r\n"));
        const Einstellungen zurueck = EinstellungenLesen(inhalt);
        QCOMPARE(zurueck.vdbOrdner, e.vdbOrdner);
        QCOMPARE(zurueck.vergleichsdatenbank, e.vergleichsdatenbank);
        QCOMPARE(zurueck.exportOrdner, std::string());
        QCOMPARE(zurueck.definitionsPfad, e.definitionsPfad);

        QCOMPARE(EinstellungenSchreiben({}), std::string("\r\n\r\n\r\n\r\n"));
    }

    void liestKuerzereUndFremdeDateien_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("leer") << QByteArray() << QStringList{"", "", "", ""};
        QTest::newRow("zwei Zeilen") << QByteArray("/a/\r\n/b.vdb\r\n") << QStringList{"/a/", "/b.vdb", "", ""};
        QTest::newRow("ohne letztes Zeilenende")
            << QByteArray("/a/\r\n\r\n\r\n/d.zrv") << QStringList{"/a/", "", "", "/d.zrv"};
        QTest::newRow("nur LF") << QByteArray("/a/\n/b\n/c/\n/d") << QStringList{"/a/", "/b", "/c/", "/d"};
        QTest::newRow("nur CR") << QByteArray("/a/\r\r\r/d") << QStringList{"/a/", "", "", "/d"};
        QTest::newRow("mehr als vier") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n") << QStringList{"1", "2", "3", "4"};
        QTest::newRow("Windows-1252") << QByteArray("/Sch\xFCtzen/\r\n") << QStringList{"/Schützen/", "", "", ""};
    }

    void liestKuerzereUndFremdeDateien()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QStringList, zeilen);
        const Einstellungen e = EinstellungenLesen(inhalt.toStdString());
        QCOMPARE(QString::fromStdString(e.vdbOrdner), zeilen[0]);
        QCOMPARE(QString::fromStdString(e.vergleichsdatenbank), zeilen[1]);
        QCOMPARE(QString::fromStdString(e.exportOrdner), zeilen[2]);
        QCOMPARE(QString::fromStdString(e.definitionsPfad), zeilen[3]);
    }

    // A folder or file that has gone since the last start is dropped, so that no dialog starts
    // in a folder that is not there and no run loads a definitions file that is not there.
    void behaeltNurWasNochDaIst()
    {
        TempFolder tmp;
        const std::string ordner = tmp.path().string();
        std::filesystem::create_directory(tmp.path() / "Export");
        std::ofstream(tmp.file("wkak.zrv")) << "x";

        Einstellungen vorhanden{ordner + "/", "/gibt/es/nicht.vdb", ordner + "/Export/", tmp.file("wkak.zrv")};
        Einstellungen e = EinstellungenPruefen(vorhanden);
        QCOMPARE(e.vdbOrdner, ordner + "/");
        QCOMPARE(e.vergleichsdatenbank, std::string("/gibt/es/nicht.vdb"));
        QCOMPARE(e.exportOrdner, ordner + "/Export/");
        QCOMPARE(e.definitionsPfad, tmp.file("wkak.zrv"));

        // A hand-edited folder without its closing "/" names the same folder.
        e = EinstellungenPruefen({ordner, "", ordner + "/Export", ""});
        QCOMPARE(e.vdbOrdner, ordner + "/");
        QCOMPARE(e.exportOrdner, ordner + "/Export/");

        e = EinstellungenPruefen({ordner + "/geloescht/", "  ", ordner + "/weg/", tmp.file("fehlt.zrv")});
        QCOMPARE(e.vdbOrdner, std::string());
        QCOMPARE(e.vergleichsdatenbank, std::string("  "));
        QCOMPARE(e.exportOrdner, std::string());
        QCOMPARE(e.definitionsPfad, std::string());

        // A folder where a file is expected, and the other way round, count as missing.
        e = EinstellungenPruefen({tmp.file("wkak.zrv") + "/", "", "", ordner + "/Export"});
        QCOMPARE(e.vdbOrdner, std::string());
        QCOMPARE(e.definitionsPfad, std::string());

        e = EinstellungenPruefen({"   ", "", "", "   "});
        QCOMPARE(e.vdbOrdner, std::string());
        QCOMPARE(e.definitionsPfad, std::string());
    }

    void dateiWirdGanzErsetztUndNieHalbGeschrieben()
    {
        TempFolder tmp;
        const std::string pfad = tmp.file("TVX_Vidazer.dir");
        QVERIFY(!EinstellungsdateiLesen(pfad));

        QVERIFY(EinstellungsdateiSchreiben(pfad, "alt\r\n\r\n\r\nlang und länger\r\n"));
        QVERIFY(EinstellungsdateiSchreiben(pfad, "neu\r\n\r\n\r\n\r\n"));
        QCOMPARE(bytes(pfad), std::string("neu\r\n\r\n\r\n\r\n"));
        QCOMPARE(*EinstellungsdateiLesen(pfad), std::string("neu\r\n\r\n\r\n\r\n"));
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
